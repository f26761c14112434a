#include "FormCanvas.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "FormCanvasAccessible.h"
#include "FormPainter.h"
#include "Twips.h"

FormCanvas::FormCanvas(std::span<const form_layout::LayoutEntry> controls, double width,
                       double height, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Form1Client"));
    setFixedSize(QSizeF(twips::toPixels(width), twips::toPixels(height)).toSize());
    setAutoFillBackground(true);
    FormCanvasAccessible::installFactory();
    for (const form_layout::LayoutEntry& entry : controls) {
        if (!form_layout::isDrawn(entry.kind)) continue;
        m_backToFront.push_back({&entry, entry.geometry, form_layout::captionOf(entry)});
    }
    std::sort(m_backToFront.begin(), m_backToFront.end(),
              [](const DrawnControl& a, const DrawnControl& b) {
                  return a.entry->paintOrder < b.entry->paintOrder;
              });
}

int FormCanvas::indexOf(std::string_view name) const {
    for (size_t i = 0; i < m_backToFront.size(); ++i)
        if (m_backToFront[i].entry->name == name) return int(i);
    return -1;
}

const DrawnControl* FormCanvas::drawnControl(std::string_view name) const {
    const int index = indexOf(name);
    return index < 0 ? nullptr : &m_backToFront[size_t(index)];
}

QRect FormCanvas::drawnExtent(int index) const {
    return form_painter::extent(m_backToFront[size_t(index)]).toAlignedRect();
}

void FormCanvas::setLineY2(int index, float y2) {
    changeGeometry(index, 3, y2);
}

void FormCanvas::setShapeWidth(int index, float width) {
    changeGeometry(index, 2, width);
}

void FormCanvas::setLabelCaption(int index, const QString& caption) {
    DrawnControl& label = m_backToFront[size_t(index)];
    if (label.caption == caption) return;
    label.caption = caption;
    update(form_painter::extent(label).toAlignedRect());
    // Those who describe a control by the caption do so before it is announced.
    emit labelCaptionChanged(index, caption);
    if (isLiveLabel(index)) FormCanvasAccessible::announceCaption(this, index);
}

void FormCanvas::changeGeometry(int index, int coordinate, double value) {
    DrawnControl& control = m_backToFront[size_t(index)];
    if (control.geometry[size_t(coordinate)] == value) return;
    const QRectF before = form_painter::extent(control);
    control.geometry[size_t(coordinate)] = value;
    const QRectF after = form_painter::extent(control);
    const QRect visible = rect();
    update((before.toAlignedRect() | after.toAlignedRect()).intersected(visible));
}

void FormCanvas::paintClientArea(QPainter& painter) {
    painter.fillRect(rect(), palette().window());
    form_painter::paint(painter, m_backToFront, palette(), font());
    // The windowed controls go onto the page as images at four times the screen's resolution:
    // Qt's own rendering of them onto a PDF device ignores their clipping, so a list's partly
    // shown row would spill below it. The chart beneath stays vector.
    constexpr qreal kControlScale = 4.0;
    for (QObject* object : children()) {
        auto* control = qobject_cast<QWidget*>(object);
        if (!control || control->isWindow() || !control->isVisible()) continue;
        QImage image((QSizeF(control->size()) * kControlScale).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(kControlScale);
        image.fill(palette().color(QPalette::Window));
        control->render(&image, QPoint(), QRegion(),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.drawImage(QRectF(control->geometry()), image);
    }
}

void FormCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    form_painter::paint(painter, m_backToFront, palette(), font(), event->rect());
}

// Compiled with this file: in a file of its own, it would parse Qt's headers once more.
#include "moc_FormCanvas.cpp"
