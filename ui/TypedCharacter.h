#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

// The character code a key press types, as the form's key handlers know them: Backspace 8,
// Enter 13, Escape 27, Ctrl+letter 1 to 26, Ctrl+Backspace 127; anything beyond 16 bits wraps.
// Keys that type no character (arrows, Delete, Home, End, Tab, Shift+Insert...) give nothing
// and keep their editing action.
std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event);

// Whether the event carries printable text, which a text box would insert on its own.
bool typesText(const QKeyEvent& event);
