#pragma once
// KnownStartupItems: the program-wide list of entries the new-startup monitor treats as seen.
// The monitor worker and the main thread both use it, so every access holds its lock; no
// window is called while it is held.

#include "engine/startup_item.h"

#include <mutex>

namespace engine {

class KnownStartupItemList {
public:
    // Appends a copy and returns it; the copy stays owned by the list.
    const StartupItem& AppendCopy(const StartupItem& item);

    // Runs f(StartupItemArray&) under the lock.
    template <typename F>
    decltype(auto) WithItems(F&& f) {
        std::lock_guard lock(lock_);
        return f(items_);
    }

private:
    std::mutex lock_;
    StartupItemArray items_;
};

KnownStartupItemList& KnownStartupItems();

}  // namespace engine
