#include "shell/programmain.h"

#include "display/display.h"
#include "settings/settingswindow.h"
#include "shell/state.h"
#include "ui/layer.h"

namespace fc::shell {

void PrepareWindows() {
    ui::Layer& layer = ui::Layer::instance();
    layer.prepare();
    settings::RegisterSettingsWindow();
    display::RegisterDisplayWindow();
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
