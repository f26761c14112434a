#pragma once

#include <QString>
#include <array>

#include "LayoutEntry.h"

// A label, line or shape as it stands now: its layout entry plus what the handlers may
// change (a line's Y2, a shape's Width, a label's Caption).
struct DrawnControl {
    const form_layout::LayoutEntry* entry = nullptr;
    std::array<double, 4> geometry{};  // twips, laid out as in its LayoutEntry
    QString caption;

    double y2() const { return geometry[3]; }
    double width() const { return geometry[2]; }
};
