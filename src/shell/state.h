#pragma once

#include "services/threads.h"
#include "ui/color.h"

#include <QString>

#include <atomic>
#include <cstdint>

// The program state shared by the windows and the countdown worker. It lives for
// the whole process, starts zero-filled and is never saved.
namespace fc::shell {

inline const QString kSettingsWindow = QStringLiteral("SettingsWindow");
inline const QString kDisplayWindow = QStringLiteral("DisplayWindow");

struct Settings {
    // Read by the countdown worker while the UI thread may write them: atomic, so
    // each value is read and written whole.
    std::atomic<std::int32_t> startMinutes{0};
    std::atomic<std::int32_t> startSeconds{0};
    std::atomic<std::int32_t> flashSeconds{0};
    ui::Color textColor = 0;
    ui::Color backColor = 0;
    // A null text is absent and counts as the empty text.
    QString titleText;
    QString titleSizeText;
    QString titleModeText;
};

// Filled each time the display is created.
extern Settings CountdownSettings;
// The most recently started countdown worker; 0 until the first start.
extern services::ThreadHandle countdownThread;
// 1 while a countdown runs: set by F2, cleared by F3 and by the end of a run.
extern std::atomic<std::int32_t> isRunning;

// The exit routine: lets go of the setting texts of the last opening.
void ReleaseSettingTexts();

}  // namespace fc::shell
