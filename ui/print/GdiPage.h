#pragma once

#include <QPaintDevice>
#include <QSizeF>
#include <memory>

#include <windows.h>

class GdiPaintEngine;

// A printer's page as a QPainter sees it: logical pixels at 96 to the inch, as on the screen, so
// that text is laid out as it is in the window; drawn onto the printer's device context at its
// own resolution, from the top left corner of its printable area. Shapes, lines and text reach
// the printer as GDI's own vectors and text; images as images.
class GdiPage : public QPaintDevice {
public:
    // dc is the printer's, between StartPage and EndPage; sizeInPixels is the page's at 96 dpi.
    GdiPage(HDC dc, QSizeF sizeInPixels);
    ~GdiPage() override;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSizeF m_size;
    std::unique_ptr<GdiPaintEngine> m_engine;
};
