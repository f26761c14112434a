#include "FormLayout.h"

#include <algorithm>

namespace form_layout {

namespace {

using K = ControlKind;

constexpr std::uint32_t kMaroon = 0x00000080;
constexpr std::uint32_t kNavy = 0x00800000;
constexpr std::uint32_t kLightOrange = 0x00C0E0FF;
constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kLightYellow = 0x0080FFFF;
constexpr std::uint32_t kLightGrey = 0x00E0E0E0;
constexpr std::uint32_t kGrey = 0x00808080;
constexpr std::uint32_t kSilver = 0x00C0C0C0;
constexpr std::uint32_t kGreen = 0x0000FF00;
constexpr std::uint32_t kDarkGreen = 0x00004000;

LayoutEntry tick(std::string_view name, double x, int paintOrder) {
    return {.name = name, .kind = K::Line, .geometry = {x, 720, x, 840}, .paintOrder = paintOrder};
}

LayoutEntry monthLabel(int month, std::string_view name, std::string_view caption, double width,
                       double top, int paintOrder, int tabIndex) {
    return {.name = name,
            .kind = K::Label,
            .geometry = {360, top, width, 255},
            .caption = caption,
            .paintOrder = paintOrder,
            .tabIndex = tabIndex,
            .month = month};
}

LayoutEntry monthBox(int month, std::string_view name, double top, int tabIndex) {
    return {.name = name,
            .kind = K::TextBox,
            .geometry = {1440, top, 735, 285},
            .tabIndex = tabIndex,
            .month = month};
}

LayoutEntry bar(int month, std::string_view name, double x, int paintOrder) {
    return {.name = name,
            .kind = K::Line,
            .geometry = {x, 6000, x, 5400},
            .foreColor = kGreen,
            .borderWidth = 5,
            .paintOrder = paintOrder,
            .month = month};
}

// Drawn controls, front to back: Line48, Shape2, Label15, Label14, Line46..Line14,
// Label13..Label2, Line13..Line2, Line1, Label1, Shape1, Line47, Shape3.
const std::array kControls = {
    // Top strip: instruction, month-count list and compute button.
    LayoutEntry{.name = "Label15",
                .kind = K::Label,
                .geometry = {2640, 0, 3495, 615},
                .caption = "Seleziona il N° di  mesi da inserire  nella Media :",
                .foreColor = kMaroon,
                .paintOrder = 63,
                .tabIndex = 29},
    LayoutEntry{.name = "List1",
                .kind = K::ListBox,
                .geometry = {4440, 240, 1575, 1035},
                .backColor = kLightOrange,
                .tabIndex = 0},
    // Text1 before Command1: the button lies in front of it.
    LayoutEntry{.name = "Text1",
                .kind = K::TextBox,
                .geometry = {120, 120, 975, 375},
                .foreColor = kBlack,
                .tabIndex = 13,
                .enabled = false,
                .accessibleName = "Media"},
    LayoutEntry{.name = "Command1",
                .kind = K::CommandButton,
                .geometry = {120, 240, 1455, 375},
                .caption = "Calcola media:",
                .tabIndex = 14,
                .enabled = false},

    // Mean display: ruler, mean bar and caption.
    LayoutEntry{
        .name = "Line43", .kind = K::Line, .geometry = {120, 720, 3840, 720}, .paintOrder = 58},
    tick("Line14", 120, 29),
    tick("Line15", 240, 30),
    tick("Line16", 360, 31),
    tick("Line17", 480, 32),
    tick("Line18", 600, 33),
    tick("Line19", 720, 34),
    tick("Line20", 840, 35),
    tick("Line21", 960, 36),
    tick("Line22", 1080, 37),
    tick("Line23", 1200, 38),
    tick("Line24", 1320, 39),
    tick("Line25", 1440, 40),
    tick("Line26", 1560, 41),
    tick("Line27", 1680, 42),
    tick("Line28", 1800, 43),
    tick("Line29", 1920, 44),
    tick("Line30", 2040, 45),
    tick("Line31", 2160, 46),
    tick("Line32", 2280, 47),
    tick("Line33", 2400, 48),
    tick("Line34", 2520, 49),
    tick("Line35", 2640, 50),
    tick("Line36", 2760, 51),
    tick("Line37", 2880, 52),
    tick("Line38", 3000, 53),
    tick("Line39", 3120, 54),
    tick("Line40", 3240, 55),
    tick("Line42", 3360, 57),
    tick("Line41", 3480, 56),
    tick("Line46", 3600, 61),
    tick("Line44", 3720, 59),
    tick("Line45", 3840, 60),
    LayoutEntry{.name = "Shape1",
                .kind = K::Shape,
                .geometry = {120, 840, 15, 375},
                .foreColor = kLightYellow,
                .fillColor = kLightYellow,
                .fill = FillStyle::Solid,
                .paintOrder = 2},
    LayoutEntry{.name = "Label1",
                .kind = K::Label,
                .geometry = {120, 960, 4815, 735},
                .caption = "Media:",
                .foreColor = kNavy,
                .paintOrder = 3,
                .tabIndex = 15},
    LayoutEntry{.name = "Label14",
                .kind = K::Label,
                .geometry = {3720, 960, 1095, 255},
                .back = BackStyle::Opaque,
                .paintOrder = 62,
                .tabIndex = 28},

    // Separator: the light line over a dark one gives it an edge.
    LayoutEntry{.name = "Line1",
                .kind = K::Line,
                .geometry = {120, 1560, 6000, 1560},
                .foreColor = kLightGrey,
                .borderWidth = 2,
                .paintOrder = 4},
    LayoutEntry{.name = "Line47",
                .kind = K::Line,
                .geometry = {120, 1560, 6000, 1560},
                .foreColor = kBlack,
                .borderWidth = 3,
                .paintOrder = 1},

    // Month rows: label and box share the row top; the bars stand 240 twips apart.
    monthLabel(1, "Label2", "GENNAIO", 855, 1800, 17, 16),
    monthBox(1, "Text2", 1800, 1),
    monthLabel(2, "Label3", "FEBBRAIO", 855, 2160, 18, 17),
    monthBox(2, "Text3", 2160, 2),
    monthLabel(3, "Label4", "MARZO", 735, 2520, 19, 18),
    monthBox(3, "Text4", 2520, 3),
    monthLabel(4, "Label5", "APRILE", 735, 2880, 20, 19),
    monthBox(4, "Text5", 2880, 4),
    monthLabel(5, "Label6", "MAGGIO", 735, 3240, 21, 20),
    monthBox(5, "Text6", 3240, 5),
    monthLabel(6, "Label7", "GIUGNO", 735, 3600, 22, 21),
    monthBox(6, "Text7", 3600, 6),
    monthLabel(7, "Label8", "LUGLIO", 735, 3960, 23, 22),
    monthBox(7, "Text8", 3960, 7),
    monthLabel(8, "Label9", "AGOSTO", 735, 4320, 24, 23),
    monthBox(8, "Text9", 4320, 8),
    monthLabel(9, "Label10", "SETTEMBRE", 1095, 4680, 25, 24),
    monthBox(9, "Text10", 4680, 9),
    monthLabel(10, "Label11", "OTTOBRE", 975, 5040, 26, 25),
    monthBox(10, "Text11", 5040, 10),
    monthLabel(11, "Label12", "NOVEMBRE", 1095, 5400, 27, 26),
    monthBox(11, "Text12", 5400, 11),
    monthLabel(12, "Label13", "DICEMBRE", 1095, 5760, 28, 27),
    monthBox(12, "Text13", 5760, 12),
    bar(1, "Line2", 2640, 5),
    bar(2, "Line3", 2880, 6),
    bar(3, "Line4", 3120, 7),
    bar(4, "Line5", 3360, 8),
    bar(5, "Line6", 3600, 9),
    bar(6, "Line7", 3840, 10),
    bar(7, "Line8", 4080, 11),
    bar(8, "Line9", 4320, 12),
    bar(9, "Line10", 4560, 13),
    bar(10, "Line11", 4800, 14),
    bar(11, "Line12", 5040, 15),
    bar(12, "Line13", 5280, 16),

    // Chart frame: a light hatched frame over a heavy grey one, and the baseline over the feet.
    LayoutEntry{.name = "Shape2",
                .kind = K::Shape,
                .geometry = {2400, 1800, 3135, 4335},
                .foreColor = kLightGrey,
                .fillColor = kDarkGreen,
                .fill = FillStyle::HorizontalLines,
                .borderWidth = 2,
                .paintOrder = 64},
    LayoutEntry{.name = "Shape3",
                .kind = K::Shape,
                .geometry = {2400, 1800, 3135, 4335},
                .foreColor = kGrey,
                .borderWidth = 5,
                .paintOrder = 0},
    LayoutEntry{.name = "Line48",
                .kind = K::Line,
                .geometry = {2520, 6000, 5400, 6000},
                .foreColor = kSilver,
                .borderWidth = 5,
                .paintOrder = 65},
};

}  // namespace

std::span<const LayoutEntry> controls() {
    return kControls;
}

const LayoutEntry& monthControl(ControlKind kind, int month) {
    return *std::find_if(kControls.begin(), kControls.end(), [=](const LayoutEntry& entry) {
        return entry.kind == kind && entry.month == month;
    });
}

const LayoutEntry* find(std::string_view name) {
    const auto it = std::find_if(kControls.begin(), kControls.end(),
                                 [name](const LayoutEntry& entry) { return entry.name == name; });
    return it == kControls.end() ? nullptr : &*it;
}

}  // namespace form_layout
