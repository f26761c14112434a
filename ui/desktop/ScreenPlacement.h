#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of this frame size goes on a screen whose free area (no panels, no docks) is
// `available`: centred in it; along a side where it is larger than the area, flush with the
// area's start, so that the title bar and the menu bar can still be reached.
QPoint placeWithin(const QRect& available, const QSize& frame);
