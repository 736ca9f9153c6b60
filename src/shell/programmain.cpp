#include "shell/programmain.h"

#include "display/display.h"
#include "services/keystate.h"
#include "settings/settingswindow.h"
#include "shell/state.h"
#include "ui/layer.h"

namespace fc::shell {

void PrepareWindows() {
    ui::Layer& layer = ui::Layer::instance();
    layer.prepare();
    settings::RegisterSettingsWindow();
    display::RegisterDisplayWindow();
    // Watching the keys from the start, so a press right after the display opens
    // is not missed where the key state comes from the program's own events.
    services::keyState();
}

int ProgramMain() {
    PrepareWindows();
    ui::registerExitRoutine(&ReleaseSettingTexts);
    if (!ui::Layer::instance().load(kSettingsWindow, false)) {
        ui::fatalError(QStringLiteral("载入启动窗口失败"));
    }
    ui::Layer::instance().exec();
    return 0;
}

}  // namespace fc::shell
