#pragma once
// One startup entry, the list that owns such records, and the receiver the enumerators feed.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct StartupItem {
    std::string name;
    std::string command;
    // "HKCU\...\Run", "Startup", "Common Startup", "Task Scheduler", or the store's form for a
    // disabled entry.
    std::string location;
    // True for an entry that Windows starts now; in the scrap list: selected for the run.
    bool enabled = true;
    // Which switch holds a switched-off entry: the store (moved out of its key or folder), or
    // Task Manager's mark (still in place, but not started).
    enum class DisabledBy : unsigned char { Store, StartupApproved };
    DisabledBy disabledBy = DisabledBy::Store;
    // An active entry that put itself back after the user switched it off: the store still
    // holds its record (engine/returning.h). The listing shows it once, as this entry.
    bool returned = false;

    // A location that begins with "HK" (any case) is a registry entry, "Task Scheduler" a task
    // (engine/logon_task_rules.h), any other a folder entry.
    bool IsRegistryEntry() const;
};

bool IsRegistryLocation(std::string_view location);

// A growable list of records that it owns, appended at the end.
class StartupItemArray {
public:
    StartupItem& Append(StartupItem item);
    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    StartupItem& operator[](size_t index) { return *items_[index]; }
    const StartupItem& operator[](size_t index) const { return *items_[index]; }
    void RemoveAt(size_t index) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void Clear() { items_.clear(); }

    // Records keep their address while the list grows, so a pointer handed to a window stays valid.
    template <typename F>
    void ForEach(F&& f) const {
        for (const auto& item : items_) {
            f(*item);
        }
    }

private:
    std::vector<std::unique_ptr<StartupItem>> items_;
};

// The engine hands each entry it reads to a receiver chosen by the caller. The record is
// the engine's; a receiver that keeps the entry makes its own copy.
using EntrySink = std::function<void(const StartupItem&)>;

// The rule all receivers share: entries with empty name and command, and entries that bear
// the product's own name, are dropped.
bool PassesReceiverRules(const StartupItem& item);

}  // namespace engine
