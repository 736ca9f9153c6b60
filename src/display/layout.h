#pragma once

#include <cstdint>

// Layout arithmetic of the full-screen display. Sizes are pixels, font sizes
// points; real-valued results are truncated toward zero, never rounded.
namespace fc::display {

struct PanelLayout {
    int width;
    int top;
    int height;
    std::int64_t fontPoints;
};

// The title band takes the top sixth of a screen H pixels high.
int BandHeight(int screenHeight);

// The time panel below the band; H / 6 is not truncated before it is multiplied.
PanelLayout TimePanelLayout(int screenWidth, int screenHeight);

// Width of a scrolling band: caption length in bytes times the font size read back.
std::int64_t ScrollBandWidth(int captionBytes, int fontPoints);

// True once a band `width` wide has moved to `left` = -width: its right edge has
// reached the left edge of the screen.
bool ScrolledOut(std::int64_t left, std::int64_t width);

}  // namespace fc::display
