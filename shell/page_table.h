#pragma once
// Which page object fills each slot of the main window and of the tab-settings page. Each page
// is built with its default constructor; the main window makes it a hidden child.

#include "controls/dialog.h"

#include <array>
#include <memory>

namespace shell {

using MainPages = std::array<std::unique_ptr<controls::CDialog>, 5>;
using SettingsSubPages = std::array<std::unique_ptr<controls::CDialog>, 3>;

// In PageIndex order.
MainPages CreateMainPages();
// In SettingsSubPage order.
SettingsSubPages CreateSettingsSubPages();

}  // namespace shell
