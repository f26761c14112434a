#pragma once

#include <span>

#include "LayoutEntry.h"

// Form1's controls as data, in one table.
namespace form_layout {

inline constexpr double kClientWidth = 6165;
inline constexpr double kClientHeight = 6225;

std::span<const LayoutEntry> controls();
const LayoutEntry* find(std::string_view name);

// A month's label, box or bar (a line), by the month's number (1 is January).
const LayoutEntry& monthControl(ControlKind kind, int month);

}  // namespace form_layout
