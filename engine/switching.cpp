#include "engine/logon_task_rules.h"
#include "engine/switch_kinds.h"

namespace engine {

bool DisableStartupItem(const StartupItem& item, ReportStyle style) {
    if (IsTaskLocation(item.location)) {
        return DisableTaskItem(item, style);
    }
    return item.IsRegistryEntry() ? DisableRegistryItem(item, style)
                                  : DisableShortcutItem(item, style);
}

bool EnableStartupItem(const StartupItem& item, ReportStyle style) {
    if (IsTaskLocation(item.location)) {
        return EnableTaskItem(item, style);
    }
    return item.IsRegistryEntry() ? EnableRegistryItem(item, style)
                                  : EnableShortcutItem(item, style);
}

}  // namespace engine
