#pragma once

#include "ui/color.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>
#include <vector>

// Windows are stored as designs: the window's own settings and its components in
// stored order. A load creates the window from a copy of its design; everything
// written while it is open is forgotten when it is destroyed.
namespace fc::ui {

using Handler = std::function<void()>;

enum class Align : int { Near = 0, Center = 1, Far = 2 };  // left/top, centre, right/bottom

struct FontSpec {
    QString face;  // empty: the platform's default user-interface face
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct LabelSettings {
    QString caption;
    FontSpec font;
    int fontSizePt = 0;  // 0: the default height of the platform
    Color textColor = 0x000000;
    Color backColor = kDefaultColor;
    Align hAlign = Align::Near;
    Align vAlign = Align::Center;
};

struct TimerSettings {
    int period = 0;  // ms; 0 stopped
};

struct EditBoxSettings {
    QString content;
    Align align = Align::Near;
    bool integerOnly = false;
    int maxBytes = 0;  // 0: no limit; counted in GBK bytes
    Color textColor = 0x000000;
    Color backColor = 0xFFFFFF;
};

struct ComboBoxSettings {
    QStringList entries;  // a drop-down list: no typing into the field
    int selected = 0;
};

struct ColorPickerSettings {
    Color color = 0x000000;
    bool allowTransparent = false;
};

struct ButtonSettings {
    QString caption;
    bool isDefault = false;
};

using ComponentSettings = std::variant<LabelSettings, TimerSettings, EditBoxSettings,
                                       ComboBoxSettings, ColorPickerSettings, ButtonSettings>;

struct ComponentDesign {
    QString name;
    QRect place;  // relative to the window's client area
    ComponentSettings settings;
    Handler handler;  // timer tick or button click
    bool visible = true;
    bool enabled = true;
    bool tabStop = true;
};

enum class Border { None, Fixed };

struct WindowDesign {
    QString title;
    Border border = Border::Fixed;
    bool systemMenu = true;
    bool minimizeButton = true;
    bool maximizeButton = false;
    QSize outerSize;        // frame and title bar included; centred on the primary screen at load
    QPoint storedPosition;  // kept for writes made while closed; loads centre the window
    Color background = kDefaultColor;
    bool escCloses = false;
    bool enterMovesFocus =
        false;  // Enter, where it clicks no default button, goes to the next control
    bool alwaysOnTop = false;
    Handler onCreated;
    Handler onDestroyed;  // runs first when the window is destroyed, however it was closed
    std::vector<ComponentDesign> components;  // the first lies on top of all later ones
};

}  // namespace fc::ui
