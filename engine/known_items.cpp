#include "engine/known_items.h"

namespace engine {

const StartupItem& KnownStartupItemList::AppendCopy(const StartupItem& item) {
    std::lock_guard lock(lock_);
    return items_.Append(item);
}

KnownStartupItemList& KnownStartupItems() {
    static KnownStartupItemList list;
    return list;
}

}  // namespace engine
