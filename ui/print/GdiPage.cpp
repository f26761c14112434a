#include "GdiPage.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <QVarLengthArray>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
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
// near to it as GDI's plain calls allow. Each is kept as a GDI call with everything it needs in
// device units, to be made on the printer's thread.
class GdiPaintEngine : public QPaintEngine {
public:
    using Call = std::function<void(HDC)>;

    explicit GdiPaintEngine(QSizeF scale)
        : QPaintEngine(AllFeatures), m_toDeviceUnits(QTransform::fromScale(scale.width(), scale.height())) {}

    bool begin(QPaintDevice*) override {
        // A painter that never sets a transform reports none.
        m_toDevice = m_toDeviceUnits;
        m_calls.clear();
        return true;
    }

    bool end() override { return true; }

    Type type() const override { return User; }

    bool playOn(HDC dc) const {
        const int saved = SaveDC(dc);
        if (saved == 0) return false;
        SetBkMode(dc, TRANSPARENT);
        SetPolyFillMode(dc, WINDING);
        for (const Call& call : m_calls) call(dc);
        // What GDI batched on this thread reaches the driver before the page is ended.
        GdiFlush();
        return RestoreDC(dc, saved) != 0;
    }

    void updateState(const QPaintEngineState& state) override {
        const QPaintEngine::DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) m_pen = state.pen();
        if (dirty & DirtyBrush) m_brush = state.brush();
        if (dirty & DirtyTransform) m_toDevice = state.transform() * m_toDeviceUnits;
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
        std::vector<std::pair<POINT, POINT>> onDevice;
        for (int i = 0; i < count; ++i)
            onDevice.emplace_back(devicePoint(lines[i].p1()), devicePoint(lines[i].p2()));
        m_calls.push_back([pen = penLooks(), onDevice](HDC dc) {
            const Selected selected(dc, pen.make());
            for (const auto& [from, to] : onDevice) {
                MoveToEx(dc, from.x, from.y, nullptr);
                LineTo(dc, to.x, to.y);
            }
        });
    }

    void drawPath(const QPainterPath& path) override {
        if (m_brush.style() != Qt::NoBrush) {
            std::vector<POINT> points;
            std::vector<INT> counts;
            for (const QPolygonF& polygon : path.toFillPolygons(m_toDevice)) {
                for (const QPointF& point : polygon)
                    points.push_back({LONG(std::lround(point.x())), LONG(std::lround(point.y()))});
                counts.push_back(INT(polygon.size()));
            }
            if (!counts.empty()) {
                const int fillMode = path.fillRule() == Qt::OddEvenFill ? ALTERNATE : WINDING;
                m_calls.push_back([fillMode, colour = colorRef(m_brush.color()), points,
                                   counts](HDC dc) {
                    SetPolyFillMode(dc, fillMode);
                    const Selected brush(dc, CreateSolidBrush(colour));
                    const Selected noPen(dc, CreatePen(PS_NULL, 0, 0));
                    PolyPolygon(dc, points.data(), counts.data(), int(counts.size()));
                });
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
        QImage rows = image.copy(source.toAlignedRect())
                          .convertToFormat(QImage::Format_RGB32)
                          .mirrored(false, true);
        if (rows.isNull()) return;
        const QRect to = m_toDevice.mapRect(target).toAlignedRect();
        m_calls.push_back([rows = std::move(rows), to](HDC dc) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = rows.width();
            info.bmiHeader.biHeight = rows.height();
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            SetStretchBltMode(dc, HALFTONE);
            StretchDIBits(dc, to.x(), to.y(), to.width(), to.height(), 0, 0, rows.width(),
                          rows.height(), rows.constBits(), &info, DIB_RGB_COLORS, SRCCOPY);
        });
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
        // Where the printer's dots are not square, the letters are as wide as on a printer whose
        // dots are all as narrow as these: the width is said, not left to the font mapper.
        const LONG squareHeight = -LONG(std::lround(pixels * m_toDevice.m11()));
        const bool square = squareHeight == logical.lfHeight;
        const QPointF at = m_toDevice.map(baseline);
        m_calls.push_back([logical, squareHeight, square, colour = colorRef(m_pen.color()),
                           x = int(std::lround(at.x())), y = int(std::lround(at.y())),
                           text = text.toStdWString()](HDC dc) mutable {
            if (!square) logical.lfWidth = averageWidth(logical, squareHeight);
            const Selected selected(dc, CreateFontIndirectW(&logical));
            SetTextColor(dc, colour);
            SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
            ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
        });
    }

private:
    // A pen as GDI makes it, kept until the call that draws with it.
    struct PenLooks {
        COLORREF colour;
        DWORD cap;
        DWORD width;
        HGDIOBJ make() const {
            LOGBRUSH brush{BS_SOLID, colour, 0};
            return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | cap | PS_JOIN_MITER, width, &brush, 0,
                                nullptr);
        }
    };

    PenLooks penLooks() const {
        DWORD cap = PS_ENDCAP_SQUARE;
        if (m_pen.capStyle() == Qt::FlatCap) cap = PS_ENDCAP_FLAT;
        if (m_pen.capStyle() == Qt::RoundCap) cap = PS_ENDCAP_ROUND;
        // One width for both axes: the finer one's, so that no line is bolder than on screen.
        const qreal scale = std::min(std::abs(m_toDevice.m11()), std::abs(m_toDevice.m22()));
        const qreal width = std::max<qreal>(m_pen.widthF(), 1) * scale;
        return {colorRef(m_pen.color()), cap, DWORD(std::max<long>(1, std::lround(width)))};
    }

    POINT devicePoint(const QPointF& point) const {
        const QPointF on = m_toDevice.map(point);
        return {LONG(std::lround(on.x())), LONG(std::lround(on.y()))};
    }

    // The font's average letter width, were it drawn lfHeight high on square dots.
    static LONG averageWidth(LOGFONTW logical, LONG squareHeight) {
        logical.lfHeight = squareHeight;
        logical.lfWidth = 0;
        const HDC square = CreateCompatibleDC(nullptr);
        if (!square) return 0;
        TEXTMETRICW metrics{};
        {
            const Selected selected(square, CreateFontIndirectW(&logical));
            if (!GetTextMetricsW(square, &metrics)) metrics.tmAveCharWidth = 0;
        }
        DeleteDC(square);
        return metrics.tmAveCharWidth;
    }

    // The painter's clip, which the form keeps to rectangles, on the device.
    void updateClip() {
        const QPainter* painter = this->painter();
        if (!painter || !painter->hasClipping()) {
            m_calls.push_back([](HDC dc) { SelectClipRgn(dc, nullptr); });
            return;
        }
        const QRectF logical = painter->combinedTransform().mapRect(painter->clipBoundingRect());
        const QRect device = m_toDeviceUnits.mapRect(logical).toAlignedRect();
        m_calls.push_back([device](HDC dc) {
            const HRGN region = CreateRectRgn(device.left(), device.top(), device.right() + 1,
                                              device.bottom() + 1);
            SelectClipRgn(dc, region);
            DeleteObject(region);
        });
    }

    const QTransform m_toDeviceUnits;
    QTransform m_toDevice;
    QPen m_pen;
    QBrush m_brush;
    std::vector<Call> m_calls;
};

GdiPage::GdiPage(QSizeF sizeInPixels, QSizeF dotsPerInch)
    : m_size(sizeInPixels),
      m_engine(std::make_unique<GdiPaintEngine>(dotsPerInch / PageImage::kPixelsPerInch)) {}

GdiPage::~GdiPage() = default;

bool GdiPage::playOn(HDC dc) const {
    return m_engine->playOn(dc);
}

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
