#include "engine/startup_item.h"

#include "engine/product_name.h"
#include "engine/text.h"

namespace engine {

bool IsRegistryLocation(std::string_view location) { return StartsWithNoCase(location, "HK"); }

bool StartupItem::IsRegistryEntry() const { return IsRegistryLocation(location); }

StartupItem& StartupItemArray::Append(StartupItem item) {
    items_.push_back(std::make_unique<StartupItem>(std::move(item)));
    return *items_.back();
}

bool PassesReceiverRules(const StartupItem& item) {
    if (item.name.empty() && item.command.empty()) {
        return false;
    }
    return !EqualsNoCase(item.name, ProductName);
}

}  // namespace engine
