#include "shell/programmain.h"
#include "ui/layer.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int rc = fc::shell::ProgramMain();
    fc::ui::runExitRoutines();
    return rc;
}
