#include "PaintCounter.h"

#include <QPaintEvent>
#include <numeric>

PaintCounter::PaintCounter(QObject* parent) : QObject(parent) {}

void PaintCounter::reset() {
    m_area.clear();
    m_region.clear();
    m_events = 0;
}

qint64 PaintCounter::totalArea() const {
    return std::accumulate(m_area.cbegin(), m_area.cend(), qint64(0));
}

qint64 PaintCounter::areaOf(const QRegion& region) {
    // The rectangles of a region never overlap.
    qint64 area = 0;
    for (const QRect& rect : region) area += qint64(rect.width()) * rect.height();
    return area;
}

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        const QRegion& painted = static_cast<QPaintEvent*>(event)->region();
        m_area[watched] += areaOf(painted);
        m_region[watched] += painted;
        ++m_events;
    }
    return false;
}
