#pragma once

#include <QString>
#include <array>

#include "FormLayout.h"

// A label, line or shape as it stands now: the layout's spec plus what the handlers may
// change (a line's Y2, a shape's Width, a label's Caption).
struct DrawnControl {
    const form_layout::ControlSpec* spec = nullptr;
    std::array<double, 4> geometry{};  // twips, as in the spec
    QString caption;

    double y2() const { return geometry[3]; }
    double width() const { return geometry[2]; }
};
