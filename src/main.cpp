#include "shell/programmain.h"
#include "ui/layer.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/fullscreen-countdown-%1.png").arg(size));
    }
    app.setWindowIcon(icon);  // both windows show it
    const int rc = fc::shell::ProgramMain();
    fc::ui::runExitRoutines();
    return rc;
}
