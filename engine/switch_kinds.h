#pragma once
// The kinds of entry behind DisableStartupItem and EnableStartupItem.

#include "engine/switching.h"

namespace engine {

bool DisableRegistryItem(const StartupItem& item, ReportStyle style);
bool EnableRegistryItem(const StartupItem& item, ReportStyle style);
bool DisableShortcutItem(const StartupItem& item, ReportStyle style);
bool EnableShortcutItem(const StartupItem& item, ReportStyle style);
bool DisableTaskItem(const StartupItem& item, ReportStyle style);
bool EnableTaskItem(const StartupItem& item, ReportStyle style);

}  // namespace engine
