#pragma once

#include <QPalette>

// Qt's own light palette, the one the window has on a desktop without a theme: the face that
// the layout's fixed colours were chosen for.
QPalette lightPalette();
