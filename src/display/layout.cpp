#include "display/layout.h"

#include <cmath>

namespace fc::display {

int BandHeight(int screenHeight) { return static_cast<int>(std::trunc(screenHeight / 6.0)); }

PanelLayout TimePanelLayout(int screenWidth, int screenHeight) {
    const double sixth = screenHeight / 6.0;
    return {screenWidth, static_cast<int>(std::trunc(sixth)),
            static_cast<int>(std::trunc(sixth * 5)),
            static_cast<std::int64_t>(std::trunc(sixth * 2))};
}

std::int64_t ScrollBandWidth(int captionBytes, int fontPoints) {
    return static_cast<std::int64_t>(std::trunc(static_cast<double>(captionBytes) * fontPoints));
}

bool ScrolledOut(std::int64_t left, std::int64_t width) {
    return std::fabs(static_cast<double>(left) - (0.0 - static_cast<double>(width))) <= 0.0000001;
}

}  // namespace fc::display
