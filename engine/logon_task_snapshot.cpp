#include "engine/logon_task_snapshot.h"

#include "engine/logon_tasks.h"
#include "engine/text.h"
#include "platform/unique_any.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace engine {

namespace {

struct Snapshot {
    std::mutex lock;
    bool read = false;
    std::vector<StartupItem> items;
    bool refreshing = false;
    unsigned nextId = 0;
    std::map<unsigned, std::shared_ptr<const std::function<void()>>> subscribers;
};

// Never destroyed: a worker may still finish a read while the process ends.
Snapshot& TheSnapshot() {
    static Snapshot* snapshot = new Snapshot;
    return *snapshot;
}

bool SameEntries(const std::vector<StartupItem>& a, const std::vector<StartupItem>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const StartupItem& x, const StartupItem& y) {
            return x.name == y.name && x.command == y.command && x.enabled == y.enabled;
        });
}

// Outside the lock: a subscriber posts to a window.
void Tell(const std::vector<std::shared_ptr<const std::function<void()>>>& subscribers) {
    for (const auto& changed : subscribers) {
        (*changed)();
    }
}

std::vector<std::shared_ptr<const std::function<void()>>> SubscribersOf(Snapshot& snapshot) {
    std::vector<std::shared_ptr<const std::function<void()>>> all;
    for (const auto& [id, changed] : snapshot.subscribers) {
        all.push_back(changed);
    }
    return all;
}

// Nobody waits for this thread, so it reads without a bound: while the service hangs, this one
// read waits and no listing starts another.
DWORD WINAPI RefreshThread(void*) {
    std::vector<StartupItem> items;
    const bool read = ReadLogonTasksUnbounded(items);
    Snapshot& snapshot = TheSnapshot();
    {
        std::lock_guard<std::mutex> hold(snapshot.lock);
        snapshot.refreshing = false;
    }
    // A service that did not answer leaves the snapshot as it was.
    if (read) {
        KeepLogonTaskSnapshot(items);
    }
    return 0;
}

}  // namespace

bool EnumerateLogonTaskSnapshot(const EntrySink& sink) {
    std::vector<StartupItem> items;
    bool read = false;
    {
        Snapshot& snapshot = TheSnapshot();
        std::lock_guard<std::mutex> hold(snapshot.lock);
        read = snapshot.read;
        items = snapshot.items;
    }
    RefreshLogonTaskSnapshot();
    for (const StartupItem& item : items) {
        sink(item);
    }
    return read;
}

void RefreshLogonTaskSnapshot() {
    Snapshot& snapshot = TheSnapshot();
    std::lock_guard<std::mutex> hold(snapshot.lock);
    if (snapshot.refreshing) {
        return;
    }
    platform::unique_handle thread(::CreateThread(nullptr, 0, &RefreshThread, nullptr, 0, nullptr));
    snapshot.refreshing = static_cast<bool>(thread);
}

void KeepLogonTaskSnapshot(const std::vector<StartupItem>& items) {
    Snapshot& snapshot = TheSnapshot();
    std::vector<std::shared_ptr<const std::function<void()>>> subscribers;
    {
        std::lock_guard<std::mutex> hold(snapshot.lock);
        if (snapshot.read && SameEntries(snapshot.items, items)) {
            return;
        }
        snapshot.read = true;
        snapshot.items = items;
        subscribers = SubscribersOf(snapshot);
    }
    Tell(subscribers);
}

void NoteTaskSwitched(const std::string& path, bool enabled) {
    Snapshot& snapshot = TheSnapshot();
    {
        std::lock_guard<std::mutex> hold(snapshot.lock);
        for (StartupItem& item : snapshot.items) {
            if (EqualsNoCase(item.name, path)) {
                item.enabled = enabled;
            }
        }
    }
    // The task's trigger may still keep it from starting: the service has the last word.
    RefreshLogonTaskSnapshot();
}

TaskSnapshotSubscription::TaskSnapshotSubscription(std::function<void()> changed) {
    Snapshot& snapshot = TheSnapshot();
    std::lock_guard<std::mutex> hold(snapshot.lock);
    id_ = snapshot.nextId++;
    snapshot.subscribers.emplace(id_,
                                 std::make_shared<const std::function<void()>>(std::move(changed)));
}

TaskSnapshotSubscription::~TaskSnapshotSubscription() {
    Snapshot& snapshot = TheSnapshot();
    std::lock_guard<std::mutex> hold(snapshot.lock);
    snapshot.subscribers.erase(id_);
}

}  // namespace engine
