#include "services/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace fc::services {
namespace {

QSize primarySize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

}  // namespace

int screenWidth() { return primarySize().width(); }
int screenHeight() { return primarySize().height(); }

}  // namespace fc::services
