#include "ChartScale.h"

#include <algorithm>
#include <cmath>

namespace quilvane::chart {

namespace {
float clampToDrawable(double twips) {
    if (std::isnan(twips)) return 0.0f;
    return static_cast<float>(std::clamp(twips, -kDrawableLimit, kDrawableLimit));
}
}  // namespace

float barTopForValue(double value) {
    return clampToDrawable(kZeroLineY - kTwipsPerUnit * value);
}

float meanBarWidth(double mean) {
    if (!(mean > 0.0)) return 0.0f;
    return clampToDrawable(kTwipsPerUnit * mean);
}

}  // namespace quilvane::chart
