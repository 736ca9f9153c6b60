// Runs the real program start-up with one scripted scenario, for the tests that
// need a process of their own: exit codes, exit routines and fatal errors.
#include "shell/programmain.h"
#include "shell/state.h"
#include "ui/layer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace fc;

namespace {

QString g_scenario;

// Registered after the program's own routine, so it sees what that one left.
void reportExit() {
    std::printf("exit-routines-ran texts-absent=%d\n",
                shell::CountdownSettings.titleText.isNull() &&
                    shell::CountdownSettings.titleSizeText.isNull() &&
                    shell::CountdownSettings.titleModeText.isNull());
    std::fflush(stdout);
}

QWidget* settingsWidget(const char16_t* name) {
    return ui::Layer::instance().widget({shell::kSettingsWindow, QString::fromUtf16(name)});
}

// Presses 确定, lets the display come up and closes it again with its own ESC.
void openAndCloseDisplay(std::function<void()> then) {
    static_cast<QLineEdit*>(settingsWidget(u"编辑框4"))->setText(QStringLiteral("标题"));
    QTimer::singleShot(50, [then = std::move(then)] {
        QWidget* display = ui::Layer::instance().widget({shell::kDisplayWindow, {}});
        std::printf("display-open=%d\n", display != nullptr);
        QTest::keyClick(display, Qt::Key_Escape);  // seen by the key poll at its next tick
        QTimer::singleShot(400, then);
    });
    QTest::keyClick(settingsWidget(u"开始计时"), Qt::Key_Space);  // runs the modal display
}

void runScenario() {
    ui::Layer& layer = ui::Layer::instance();
    if (g_scenario == "esc") {
        QTest::keyClick(settingsWidget(u"编辑框4"), Qt::Key_Escape);
    } else if (g_scenario == "close") {
        layer.widget({shell::kSettingsWindow, {}})->close();
    } else if (g_scenario == "display-then-esc") {
        openAndCloseDisplay([] {
            std::printf("settings-enabled=%d\n",
                        ui::Layer::instance().widget({shell::kSettingsWindow, {}})->isEnabled());
            QTest::keyClick(settingsWidget(u"开始计时"), Qt::Key_Escape);
        });
    } else if (g_scenario == "fatal") {
        // A property of a closed window: a failure inside the layer.
        QTimer::singleShot(100, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                std::printf("box title=%s icon=%d text=%s\n", qPrintable(box->windowTitle()),
                            int(box->icon()), qPrintable(box->text().replace('\n', ' ')));
                std::fflush(stdout);
                box->button(QMessageBox::Ok)->click();
            }
        });
        layer.writeText({shell::kDisplayWindow, QStringLiteral("标签2")}, ui::Prop::Caption,
                        QStringLiteral("x"));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    g_scenario = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTimer::singleShot(0, [] {
        // The program's exit routine is in the list by now; ours goes behind it.
        ui::registerExitRoutine(&reportExit);
        runScenario();
    });
    const int rc = shell::ProgramMain();
    ui::runExitRoutines();
    std::printf("program-main-returned=%d\n", rc);
    return rc;
}
