#pragma once

#include <QString>
#include <random>

// Texts a user may paste or a program may put into a number box: every kind of almost-number,
// out-of-range number, separator mess, control and bidirectional character.
namespace nasty_text {

inline constexpr qsizetype kHugeLength = 1 << 20;

// One of the nasty texts, never longer than a few hundred kilobytes... except when huge.
QString pick(std::mt19937_64& rng);

// About a megabyte of digits and separators: slow to handle, so callers use it sparingly.
QString huge(std::mt19937_64& rng);

// A short, printable, escaped form of a text for logs and failure messages.
QString describe(const QString& text);

}  // namespace nasty_text
