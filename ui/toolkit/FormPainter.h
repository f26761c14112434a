#pragma once

#include <QRectF>
#include <span>

#include "DrawnControl.h"

class QFont;
class QPainter;
class QPalette;

// Paints the form's labels, lines and shapes in logical pixels, back to front. The screen and
// the printer both go through here, so paper shows what the window shows.
namespace form_painter {

// Only controls that reach into exposed are painted; a null rectangle paints them all.
void paint(QPainter& painter, std::span<const DrawnControl> backToFront, const QPalette& palette,
           const QFont& font, const QRectF& exposed = {});

// The area a control covers, in logical pixels; what must be repainted when it changes.
QRectF extent(const DrawnControl& control);

}  // namespace form_painter
