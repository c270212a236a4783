#include "engine/switch_kinds.h"

namespace engine {

bool DisableStartupItem(const StartupItem& item, ReportStyle style) {
    return item.IsRegistryEntry() ? DisableRegistryItem(item, style)
                                  : DisableShortcutItem(item, style);
}

bool EnableStartupItem(const StartupItem& item, ReportStyle style) {
    return item.IsRegistryEntry() ? EnableRegistryItem(item, style)
                                  : EnableShortcutItem(item, style);
}

}  // namespace engine
