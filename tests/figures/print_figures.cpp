// Writes the figures the shell tests need, as shell assignments, from the one table.
#include <cstdio>

#include "WindowFigures.h"

namespace {

void colour(const char* name, std::uint32_t rgb) {
    std::printf("%s='#%06X'\n", name, unsigned(rgb));
}

void number(const char* name, double value) {
    std::printf("%s=%g\n", name, value);
}

// A control's rectangle in pixels, as NAME_LEFT, NAME_TOP, NAME_WIDTH and NAME_HEIGHT.
void rectangle(const char* name, const figures::Geometry& geometry) {
    const char* sides[] = {"LEFT", "TOP", "WIDTH", "HEIGHT"};
    for (int i = 0; i < 4; ++i)
        std::printf("%s_%s=%d\n", name, sides[i], figures::pixels(geometry[i]));
}

}  // namespace

int main() {
    using namespace figures;
    colour("BAR_COLOUR", kBar);
    colour("LIST_COLOUR", kList);
    number("CLIENT_WIDTH", pixels(kClientWidth));
    number("CLIENT_HEIGHT", pixels(kClientHeight));
    number("TWIPS_PER_PIXEL", kTwipsPerPixel);
    number("TWIPS_PER_UNIT", kTwipsPerUnit);
    number("ZERO_LINE_Y", kZeroLineY);
    number("BAR_WIDTH", kBarWidthPx);
    number("JANUARY_BAR_X", pixels(kMonthRows[0].barX));
    number("FEBRUARY_BAR_X", pixels(kMonthRows[1].barX));
    rectangle("LIST", geometryOf("List1"));
    colour("INSTRUCTION_COLOUR", kInstruction);
    rectangle("INSTRUCTION", geometryOf("Label15"));
    colour("MEAN_CAPTION_COLOUR", kMeanCaption);
    rectangle("MEAN_CAPTION", geometryOf("Label1"));
    colour("MEAN_BAR_COLOUR", kMeanBar);
    const Geometry& meanBar = geometryOf("Shape1");
    number("MEAN_BAR_LEFT", pixels(meanBar[0]));
    number("MEAN_BAR_TOP", pixels(meanBar[1]));
    number("MONTH_BOX_LEFT", pixels(kMonthBoxLeft));
    number("MONTH_BOX_WIDTH", pixels(kMonthBoxWidth));
    number("MONTH_BOX_HEIGHT", pixels(kMonthBoxHeight));
    number("FIRST_ROW_TOP", pixels(kMonthRows[0].top));
    number("ROW_STEP", pixels(kMonthRows[1].top - kMonthRows[0].top));
    return 0;
}
