#pragma once

#include <QColor>
#include <QLineF>
#include <QRectF>
#include <cstdint>

// The layout is in twips and made for 15 twips to the logical pixel (96 dpi); this is the one
// place where twips become pixels. Qt scales logical pixels to the screen, so the same
// figures stay crisp at any scale factor.
namespace twips {

inline constexpr double kPerPixel = 15.0;

constexpr double toPixels(double value) {
    return value / kPerPixel;
}

inline QRectF toPixels(double left, double top, double width, double height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

inline QLineF toPixels(const QLineF& line) {
    return {toPixels(line.x1()), toPixels(line.y1()), toPixels(line.x2()), toPixels(line.y2())};
}

}  // namespace twips

// Colours of the layout are written 0x00BBGGRR.
inline QColor colorFromBgr(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
