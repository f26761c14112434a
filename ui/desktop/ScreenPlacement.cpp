#include "ScreenPlacement.h"

namespace {

int placeAlong(int areaStart, int areaLength, int length) {
    if (length > areaLength) return areaStart;
    return areaStart + (areaLength - length) / 2;
}

}  // namespace

QPoint placeWithin(const QRect& available, const QSize& frame) {
    return {placeAlong(available.x(), available.width(), frame.width()),
            placeAlong(available.y(), available.height(), frame.height())};
}
