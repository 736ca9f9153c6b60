#include "shell/state.h"

namespace fc::shell {

Settings CountdownSettings;
services::ThreadHandle countdownThread = 0;
std::atomic<std::int32_t> isRunning{0};

void ReleaseSettingTexts() {
    CountdownSettings.titleText = QString();
    CountdownSettings.titleSizeText = QString();
    CountdownSettings.titleModeText = QString();
}

}  // namespace fc::shell
