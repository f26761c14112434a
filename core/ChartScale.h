#pragma once

// The chart's scale in twips, y growing downward, shared by the month bars and the mean bar.
namespace quilvane::chart {

inline constexpr double kTwipsPerUnit = 15.0;
inline constexpr double kZeroLineY = 5880.0;  // a bar's top for the value 0
inline constexpr double kBarFootY = 6000.0;   // every bar's fixed foot, and its top at start

// Far beyond any screen, yet well inside what a fixed-point rasteriser holds at any scale:
// bar ends are clamped here so that huge values run off the window instead of wrapping.
inline constexpr double kDrawableLimit = 1.0e6;

// Where the top of a month bar stands for the value.
float barTopForValue(double value);

// How wide the mean bar is for the mean; a negative mean has no bar.
float meanBarWidth(double mean);

}  // namespace quilvane::chart
