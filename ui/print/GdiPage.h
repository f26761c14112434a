#pragma once

#include <QPaintDevice>
#include <QSizeF>
#include <memory>

#include <windows.h>

class GdiPaintEngine;

// A printer's page as a QPainter sees it: logical pixels at 96 to the inch, as on the screen, so
// that text is laid out as it is in the window. Painted on the window's thread, where the
// page's widgets live, it keeps what it is asked to draw as GDI calls in the printer's own
// units, each axis at its own resolution; playOn draws them on the printer's device context, on
// the one thread that uses it. Shapes, lines and text reach the printer as GDI's own vectors
// and text; images as images.
class GdiPage : public QPaintDevice {
public:
    // sizeInPixels is the page's at 96 dpi; dotsPerInch the printer's, across and down.
    GdiPage(QSizeF sizeInPixels, QSizeF dotsPerInch);
    ~GdiPage() override;

    QPaintEngine* paintEngine() const override;

    // Draws what was painted onto dc, between StartPage and EndPage, from the top left corner
    // of its printable area, where a printer's device context begins. False when GDI refused.
    bool playOn(HDC dc) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSizeF m_size;
    std::unique_ptr<GdiPaintEngine> m_engine;
};
