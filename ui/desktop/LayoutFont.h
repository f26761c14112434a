#pragma once

#include <QFont>

// The font the fixed layout is measured for: an 8-point sans with Arial's widths. Where the
// system has no such font the program carries one; a wider desktop font would cut the month
// names and push the mean under the blank label.
QFont layoutFont();
