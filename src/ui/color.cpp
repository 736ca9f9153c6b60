#include "ui/color.h"

#include <QApplication>

namespace fc::ui {

QColor toQColor(Color c) {
    if (c == kDefaultColor) return QApplication::palette().color(QPalette::Button);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

Color fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

}  // namespace fc::ui
