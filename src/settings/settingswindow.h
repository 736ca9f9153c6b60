#pragma once

#include "ui/design.h"

// The start-up window, where every setting of a countdown is entered.
namespace fc::settings {

// The window as it is at start.
ui::WindowDesign SettingsWindowDesign();

// Stores the design with the layer.
void RegisterSettingsWindow();

// 确定: opens the display modally; returns once it has been closed.
void OnStartClicked();

}  // namespace fc::settings
