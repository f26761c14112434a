#include "FormPainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "Twips.h"

namespace form_painter {

namespace {

using form_layout::BackStyle;
using form_layout::ControlKind;
using form_layout::FillStyle;
using form_layout::kDefaultColor;
using form_layout::LayoutEntry;

constexpr double kHatchSpacing = 8.0;  // pixels between the lines of a horizontal hatch

QColor colorOr(std::uint32_t bgr, const QColor& fallback) {
    return bgr == kDefaultColor ? fallback : colorFromBgr(bgr);
}

// An axis-parallel line of odd width is centred on the pixel's middle, so that it covers
// whole pixels and stays sharp; lines run from one end to the other with flat ends.
QRectF lineRect(const DrawnControl& line) {
    const double width = line.entry->borderWidth;
    const double centring = (line.entry->borderWidth % 2) ? 0.5 : 0.0;
    const QLineF l = twips::toPixels(
        QLineF(line.geometry[0], line.geometry[1], line.geometry[2], line.geometry[3]));
    if (l.x1() == l.x2()) {
        const double centre = l.x1() + centring;
        return QRectF(centre - width / 2, std::min(l.y1(), l.y2()), width, std::abs(l.dy()));
    }
    if (l.y1() == l.y2()) {
        const double centre = l.y1() + centring;
        return QRectF(std::min(l.x1(), l.x2()), centre - width / 2, std::abs(l.dx()), width);
    }
    const double margin = width / 2 + 1;
    return QRectF(l.p1(), l.p2()).normalized().adjusted(-margin, -margin, margin, margin);
}

// Edges moved onto the device's pixel grid, so that lines and frames stay sharp at fractional
// scale factors and on paper alike.
QRectF snapped(const QPainter& painter, const QRectF& rect) {
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() > QTransform::TxScale) return rect;
    const QRectF device = toDevice.mapRect(rect);
    const QRectF aligned(QPointF(std::round(device.left()), std::round(device.top())),
                         QPointF(std::round(device.right()), std::round(device.bottom())));
    return toDevice.inverted().mapRect(aligned);
}

void fillSnapped(QPainter& painter, const QRectF& rect, const QColor& color) {
    painter.fillRect(snapped(painter, rect), color);
}

QRectF boxRect(const DrawnControl& control) {
    const auto& g = control.geometry;
    return twips::toPixels(g[0], g[1], g[2], g[3]);
}

void paintLine(QPainter& painter, const DrawnControl& line, const QPalette& palette) {
    const QColor color = colorOr(line.entry->foreColor, palette.color(QPalette::WindowText));
    const auto& g = line.geometry;
    if (g[0] == g[2] || g[1] == g[3]) {
        fillSnapped(painter, lineRect(line), color);
        return;
    }
    painter.setPen(QPen(color, line.entry->borderWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(twips::toPixels(QLineF(g[0], g[1], g[2], g[3])));
}

// Borders lie inside the shape's bounds, as with the form's own toolkit.
void paintShape(QPainter& painter, const DrawnControl& shape, const QPalette& palette) {
    if (shape.geometry[2] <= 0 || shape.geometry[3] <= 0) return;
    const QRectF outer = snapped(painter, boxRect(shape));
    const LayoutEntry& entry = *shape.entry;
    const double border = entry.borderWidth;
    const QRectF inner = snapped(painter, outer.adjusted(border, border, -border, -border));

    if (inner.width() > 0 && inner.height() > 0) {
        const QColor fill = colorOr(entry.fillColor, palette.color(QPalette::WindowText));
        if (entry.fill == FillStyle::Solid) {
            fillSnapped(painter, inner, fill);
        } else if (entry.fill == FillStyle::HorizontalLines) {
            // Lines on a fixed grid of the window, like a hatch brush.
            const double phase = kHatchSpacing / 2;
            double y = std::ceil((inner.top() - phase) / kHatchSpacing) * kHatchSpacing + phase;
            for (; y + 1 <= inner.bottom(); y += kHatchSpacing)
                fillSnapped(painter, QRectF(inner.left(), y, inner.width(), 1), fill);
        }
    }

    QPainterPath frame;
    frame.setFillRule(Qt::OddEvenFill);
    frame.addRect(outer);
    if (inner.width() > 0 && inner.height() > 0) frame.addRect(inner);
    painter.fillPath(frame, colorOr(entry.foreColor, palette.color(QPalette::WindowText)));
}

void paintLabel(QPainter& painter, const DrawnControl& label, const QPalette& palette) {
    const QRectF box = boxRect(label);
    if (label.entry->back == BackStyle::Opaque)
        painter.fillRect(box, palette.color(QPalette::Window));
    if (label.caption.isEmpty()) return;
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(colorOr(label.entry->foreColor, palette.color(QPalette::WindowText)));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label.caption);
    painter.restore();
}

}  // namespace

void paint(QPainter& painter, std::span<const DrawnControl> backToFront, const QPalette& palette,
           const QFont& font, const QRectF& exposed) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    for (const DrawnControl& control : backToFront) {
        if (!exposed.isNull() && !exposed.intersects(extent(control))) continue;
        switch (control.entry->kind) {
            case ControlKind::Line:
                paintLine(painter, control, palette);
                break;
            case ControlKind::Shape:
                paintShape(painter, control, palette);
                break;
            case ControlKind::Label:
                paintLabel(painter, control, palette);
                break;
            default:
                break;
        }
    }
    painter.restore();
}

QRectF extent(const DrawnControl& control) {
    if (control.entry->kind == ControlKind::Line) return lineRect(control);
    return boxRect(control);
}

}  // namespace form_painter
