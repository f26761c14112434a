#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string_view>

// A control as the toolkit builds it: kind, name, place in twips, look, stacking and focus order.
namespace form_layout {

enum class ControlKind { Label, TextBox, ListBox, CommandButton, Line, Shape };
enum class FillStyle { None, Solid, HorizontalLines };
enum class BackStyle { Transparent, Opaque };

inline constexpr std::uint32_t kDefaultColor = 0xFFFFFFFF;  // the toolkit's colour for the role
inline constexpr int kNoIndex = -1;

struct LayoutEntry {
    std::string_view name;
    ControlKind kind;
    // Left, Top, Width, Height; for a line X1, Y1, X2, Y2.
    std::array<double, 4> geometry;
    std::string_view caption = {};            // UTF-8
    std::uint32_t foreColor = kDefaultColor;  // text, line or border colour, 0x00BBGGRR
    std::uint32_t backColor = kDefaultColor;
    std::uint32_t fillColor = kDefaultColor;
    FillStyle fill = FillStyle::None;
    BackStyle back = BackStyle::Transparent;
    int borderWidth = 1;  // pixels
    // Drawn controls only: 0 is painted first, at the back; windowed controls lie above them all.
    int paintOrder = kNoIndex;
    int tabIndex = kNoIndex;
    bool enabled = true;
    int month = 0;  // 1 (January) to 12 for a month's label, box and bar
    std::string_view accessibleName = {};
};

inline QString nameOf(const LayoutEntry& entry) {
    return QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size()));
}

inline QString captionOf(const LayoutEntry& entry) {
    return QString::fromUtf8(entry.caption.data(), qsizetype(entry.caption.size()));
}

inline bool isDrawn(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Line || kind == ControlKind::Shape;
}

}  // namespace form_layout
