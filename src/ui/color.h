#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace fc::ui {

// Colour values as the program stores them: 0x00BBGGRR, red in the low byte.
using Color = std::uint32_t;

// Paints as the system's button-face colour; the colour pickers never yield it.
inline constexpr Color kDefaultColor = 0xFF000000u;

inline constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

QColor toQColor(Color c);           // kDefaultColor gives the button-face colour
Color fromQColor(const QColor& c);  // alpha is dropped

}  // namespace fc::ui
