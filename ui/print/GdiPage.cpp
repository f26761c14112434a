#include "GdiPage.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <QVarLengthArray>

#include <climits>
#include <cmath>
#include <vector>

#include "PageImage.h"

namespace {

COLORREF colorRef(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

// A GDI object selected into the device context for as long as it lives, then deleted.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_object(object) {
        m_previous = object ? SelectObject(dc, object) : nullptr;
    }
    ~Selected() {
        if (m_previous) SelectObject(m_dc, m_previous);
        if (m_object) DeleteObject(m_object);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace

// Only what the form's painter asks for: solid fills, lines, paths, text and images, under a
// translation and scale and a rectangular clip. Whatever else a painter could ask is drawn as
// near to it as GDI's plain calls allow.
class GdiPaintEngine : public QPaintEngine {
public:
    GdiPaintEngine(HDC dc, qreal scale) : QPaintEngine(AllFeatures), m_dc(dc), m_scale(scale) {}

    bool begin(QPaintDevice*) override {
        // A painter that never sets a transform reports none.
        m_toDevice = QTransform::fromScale(m_scale, m_scale);
        m_saved = SaveDC(m_dc);
        SetBkMode(m_dc, TRANSPARENT);
        SetPolyFillMode(m_dc, WINDING);
        return m_saved != 0;
    }

    bool end() override { return RestoreDC(m_dc, m_saved) != 0; }

    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        const QPaintEngine::DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) m_pen = state.pen();
        if (dirty & DirtyBrush) m_brush = state.brush();
        if (dirty & DirtyTransform) m_toDevice = state.transform() * QTransform::fromScale(m_scale, m_scale);
        if (dirty & (DirtyTransform | DirtyClipRegion | DirtyClipPath | DirtyClipEnabled))
            updateClip();
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            QPainterPath path;
            path.addRect(rects[i]);
            drawPath(path);
        }
    }

    void drawLines(const QLineF* lines, int count) override {
        if (m_pen.style() == Qt::NoPen) return;
        const Selected pen(m_dc, makePen());
        for (int i = 0; i < count; ++i) {
            const QPointF from = m_toDevice.map(lines[i].p1());
            const QPointF to = m_toDevice.map(lines[i].p2());
            MoveToEx(m_dc, int(std::lround(from.x())), int(std::lround(from.y())), nullptr);
            LineTo(m_dc, int(std::lround(to.x())), int(std::lround(to.y())));
        }
    }

    void drawPath(const QPainterPath& path) override {
        if (m_brush.style() != Qt::NoBrush) {
            const QList<QPolygonF> polygons = path.toFillPolygons(m_toDevice);
            std::vector<POINT> points;
            std::vector<INT> counts;
            for (const QPolygonF& polygon : polygons) {
                for (const QPointF& point : polygon)
                    points.push_back({LONG(std::lround(point.x())), LONG(std::lround(point.y()))});
                counts.push_back(INT(polygon.size()));
            }
            if (!counts.empty()) {
                SetPolyFillMode(m_dc, path.fillRule() == Qt::OddEvenFill ? ALTERNATE : WINDING);
                const Selected brush(m_dc, CreateSolidBrush(colorRef(m_brush.color())));
                const Selected noPen(m_dc, CreatePen(PS_NULL, 0, 0));
                PolyPolygon(m_dc, points.data(), counts.data(), int(counts.size()));
            }
        }
        if (m_pen.style() != Qt::NoPen) {
            for (const QPolygonF& polygon : path.toSubpathPolygons()) {
                QVarLengthArray<QLineF, 8> lines;
                for (qsizetype i = 1; i < polygon.size(); ++i)
                    lines.append(QLineF(polygon[i - 1], polygon[i]));
                drawLines(lines.data(), int(lines.size()));
            }
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i) polygon << points[i];
        if (mode == PolylineMode) {
            const QBrush brush = m_brush;
            m_brush = Qt::NoBrush;
            QPainterPath path;
            path.addPolygon(polygon);
            drawPath(path);
            m_brush = brush;
            return;
        }
        QPainterPath path;
        path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
        path.addPolygon(polygon);
        path.closeSubpath();
        drawPath(path);
    }

    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override {
        drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
    }

    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override {
        // The part asked for, bottom row first as a plain bitmap keeps its rows: printer drivers
        // do not all take the top-down kind, or a part of one.
        const QImage rows = image.copy(source.toAlignedRect())
                                .convertToFormat(QImage::Format_RGB32)
                                .mirrored(false, true);
        if (rows.isNull()) return;
        const QRect to = m_toDevice.mapRect(target).toAlignedRect();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = rows.width();
        info.bmiHeader.biHeight = rows.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(m_dc, HALFTONE);
        StretchDIBits(m_dc, to.x(), to.y(), to.width(), to.height(), 0, 0, rows.width(),
                      rows.height(), rows.constBits(), &info, DIB_RGB_COLORS, SRCCOPY);
    }

    void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
        const QString text = item.text();
        if (text.isEmpty()) return;
        const QFont font = item.font();
        const qreal pixels =
            font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * PageImage::kPixelsPerInch / 72;
        LOGFONTW logical{};
        logical.lfHeight = -LONG(std::lround(pixels * m_toDevice.m22()));
        logical.lfWeight = font.weight() >= QFont::Bold ? FW_BOLD : FW_NORMAL;
        logical.lfItalic = font.italic();
        logical.lfCharSet = DEFAULT_CHARSET;
        logical.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        logical.lfQuality = PROOF_QUALITY;
        const std::wstring family = font.family().left(LF_FACESIZE - 1).toStdWString();
        family.copy(logical.lfFaceName, family.size());
        const Selected selected(m_dc, CreateFontIndirectW(&logical));
        SetTextColor(m_dc, colorRef(m_pen.color()));
        SetTextAlign(m_dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        const QPointF at = m_toDevice.map(baseline);
        ExtTextOutW(m_dc, int(std::lround(at.x())), int(std::lround(at.y())), 0, nullptr,
                    reinterpret_cast<LPCWSTR>(text.utf16()), UINT(text.size()), nullptr);
    }

private:
    HGDIOBJ makePen() const {
        LOGBRUSH brush{BS_SOLID, colorRef(m_pen.color()), 0};
        DWORD cap = PS_ENDCAP_SQUARE;
        if (m_pen.capStyle() == Qt::FlatCap) cap = PS_ENDCAP_FLAT;
        if (m_pen.capStyle() == Qt::RoundCap) cap = PS_ENDCAP_ROUND;
        const qreal width = std::max<qreal>(m_pen.widthF(), 1) * m_toDevice.m11();
        return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | cap | PS_JOIN_MITER,
                            DWORD(std::max<long>(1, std::lround(width))), &brush, 0, nullptr);
    }

    // The painter's clip, which the form keeps to rectangles, on the device.
    void updateClip() {
        const QPainter* painter = this->painter();
        if (!painter || !painter->hasClipping()) {
            SelectClipRgn(m_dc, nullptr);
            return;
        }
        const QRectF logical = painter->combinedTransform().mapRect(painter->clipBoundingRect());
        const QRect device = QTransform::fromScale(m_scale, m_scale).mapRect(logical).toAlignedRect();
        const HRGN region = CreateRectRgn(device.left(), device.top(), device.right() + 1,
                                          device.bottom() + 1);
        SelectClipRgn(m_dc, region);
        DeleteObject(region);
    }

    HDC m_dc;
    qreal m_scale;
    int m_saved = 0;
    QTransform m_toDevice;
    QPen m_pen;
    QBrush m_brush;
};

GdiPage::GdiPage(HDC dc, QSizeF sizeInPixels)
    : m_size(sizeInPixels),
      m_engine(std::make_unique<GdiPaintEngine>(
          dc, GetDeviceCaps(dc, LOGPIXELSY) / PageImage::kPixelsPerInch)) {}

GdiPage::~GdiPage() = default;

QPaintEngine* GdiPage::paintEngine() const {
    return m_engine.get();
}

int GdiPage::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmWidth:
            return int(std::ceil(m_size.width()));
        case PdmHeight:
            return int(std::ceil(m_size.height()));
        case PdmWidthMM:
            return int(std::lround(m_size.width() / PageImage::kPixelsPerInch * 25.4));
        case PdmHeightMM:
            return int(std::lround(m_size.height() / PageImage::kPixelsPerInch * 25.4));
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return int(PageImage::kPixelsPerInch);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
    }
    return 0;
}
