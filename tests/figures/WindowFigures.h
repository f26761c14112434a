#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Every figure of the window that a test checks, written here once: colours, places in twips,
// the chart's scale and the client size. The C++ tests include this table; the shell tests
// read the same figures from figures.env, which print_figures writes from it at build time.
// Plain C++, so that the tests of the pure logic can use it too.
namespace figures {

// Colours as pixels show them, 0xRRGGBB.
inline constexpr std::uint32_t kBar = 0x00FF00;             // the month bars
inline constexpr std::uint32_t kMeanBar = 0xFFFF80;         // Shape1
inline constexpr std::uint32_t kList = 0xFFE0C0;            // List1's background
inline constexpr std::uint32_t kInstruction = 0x800000;     // Label15's text
inline constexpr std::uint32_t kMeanCaption = 0x000080;     // Label1's text
inline constexpr std::uint32_t kResultText = 0x000000;      // Text1 as laid out
inline constexpr std::uint32_t kResultComputed = 0xC00000;  // Text1 once a mean is computed
inline constexpr std::uint32_t kLightSeparator = 0xE0E0E0;  // Line1
inline constexpr std::uint32_t kDarkSeparator = 0x000000;   // Line47
inline constexpr std::uint32_t kFrame = 0xE0E0E0;           // Shape2's border
inline constexpr std::uint32_t kOuterFrame = 0x808080;      // Shape3's border
inline constexpr std::uint32_t kHatch = 0x004000;           // Shape2's horizontal lines
inline constexpr std::uint32_t kBaseline = 0xC0C0C0;        // Line48

inline constexpr int kBarWidthPx = 5;
inline constexpr double kTwipsPerPixel = 15;
inline constexpr double kClientWidth = 6165;
inline constexpr double kClientHeight = 6225;

// The chart's scale: a value v puts its bar's top at kZeroLineY - kTwipsPerUnit * v.
inline constexpr double kTwipsPerUnit = 15;
inline constexpr double kZeroLineY = 5880;
inline constexpr double kBarFootY = 6000;
inline constexpr double kLaidOutBarTopY = 5400;

constexpr double barTop(double value) {
    return kZeroLineY - kTwipsPerUnit * value;
}

constexpr int pixels(double twips) {
    return int(twips / kTwipsPerPixel);
}

using Geometry = std::array<double, 4>;  // Left, Top, Width, Height; a line's X1, Y1, X2, Y2

// Each month's row and bar: label, caption, label width, row top, box, bar, bar x.
struct MonthRow {
    const char* label;
    const char* caption;
    double labelWidth;
    double top;
    const char* box;
    const char* bar;
    double barX;
};

// clang-format off
inline constexpr MonthRow kMonthRows[] = {
    {"Label2",  "GENNAIO",    855, 1800, "Text2",  "Line2",  2640},
    {"Label3",  "FEBBRAIO",   855, 2160, "Text3",  "Line3",  2880},
    {"Label4",  "MARZO",      735, 2520, "Text4",  "Line4",  3120},
    {"Label5",  "APRILE",     735, 2880, "Text5",  "Line5",  3360},
    {"Label6",  "MAGGIO",     735, 3240, "Text6",  "Line6",  3600},
    {"Label7",  "GIUGNO",     735, 3600, "Text7",  "Line7",  3840},
    {"Label8",  "LUGLIO",     735, 3960, "Text8",  "Line8",  4080},
    {"Label9",  "AGOSTO",     735, 4320, "Text9",  "Line9",  4320},
    {"Label10", "SETTEMBRE", 1095, 4680, "Text10", "Line10", 4560},
    {"Label11", "OTTOBRE",    975, 5040, "Text11", "Line11", 4800},
    {"Label12", "NOVEMBRE",  1095, 5400, "Text12", "Line12", 5040},
    {"Label13", "DICEMBRE",  1095, 5760, "Text13", "Line13", 5280},
};
inline constexpr double kMonthBoxLeft = 1440, kMonthBoxWidth = 735, kMonthBoxHeight = 285;
inline constexpr double kMonthLabelLeft = 360, kMonthLabelHeight = 255;

// The ruler's ticks from left to right; their names do not run in order.
struct Tick {
    const char* name;
    double x;
};

inline constexpr Tick kTicks[] = {
    {"Line14",  120}, {"Line15",  240}, {"Line16",  360}, {"Line17",  480},
    {"Line18",  600}, {"Line19",  720}, {"Line20",  840}, {"Line21",  960},
    {"Line22", 1080}, {"Line23", 1200}, {"Line24", 1320}, {"Line25", 1440},
    {"Line26", 1560}, {"Line27", 1680}, {"Line28", 1800}, {"Line29", 1920},
    {"Line30", 2040}, {"Line31", 2160}, {"Line32", 2280}, {"Line33", 2400},
    {"Line34", 2520}, {"Line35", 2640}, {"Line36", 2760}, {"Line37", 2880},
    {"Line38", 3000}, {"Line39", 3120}, {"Line40", 3240}, {"Line42", 3360},
    {"Line41", 3480}, {"Line46", 3600}, {"Line44", 3720}, {"Line45", 3840},
};
inline constexpr double kTickTop = 720, kTickBottom = 840;

// Every other control, by name.
struct Control {
    const char* name;
    Geometry geometry;
};

inline constexpr Control kControls[] = {
    {"Label15",  {2640, 0, 3495, 615}},
    {"List1",    {4440, 240, 1575, 1035}},
    {"Command1", {120, 240, 1455, 375}},
    {"Text1",    {120, 120, 975, 375}},
    {"Line43",   {120, 720, 3840, 720}},
    {"Shape1",   {120, 840, 15, 375}},
    {"Label1",   {120, 960, 4815, 735}},
    {"Label14",  {3720, 960, 1095, 255}},
    {"Line1",    {120, 1560, 6000, 1560}},
    {"Line47",   {120, 1560, 6000, 1560}},
    {"Shape2",   {2400, 1800, 3135, 4335}},
    {"Shape3",   {2400, 1800, 3135, 4335}},
    {"Line48",   {2520, 6000, 5400, 6000}},
};
// clang-format on

constexpr const Geometry& geometryOf(std::string_view name) {
    for (const Control& control : kControls)
        if (name == control.name) return control.geometry;
    throw "no such control in the figures";
}

}  // namespace figures
