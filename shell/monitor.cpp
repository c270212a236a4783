#include "shell/monitor.h"

#include "engine/known_items.h"
#include "engine/listing.h"
#include "engine/logon_task_rules.h"
#include "engine/returning.h"
#include "engine/text.h"
#include "platform/app_messages.h"
#include "shell/core/settings_key.h"

#include <algorithm>

namespace shell {

namespace {

// The pass collects its new entries and reports them once every source has been read, when it
// knows which of them came back.
void CollectNew(const engine::StartupItem& known, void* data) {
    static_cast<std::vector<const engine::StartupItem*>*>(data)->push_back(&known);
}

const engine::StartupItem* ReturnedCopy(const std::vector<engine::StartupItem>& back,
                                        const engine::StartupItem& item) {
    for (const engine::StartupItem& entry : back) {
        if (entry.name == item.name && entry.location == item.location) {
            return &entry;
        }
    }
    return nullptr;
}

DWORD WINAPI PassThread(void* context) {
    MonitorPass(*static_cast<MonitorContext*>(context));
    return 0;
}

}  // namespace

std::string NameKey(const std::string& name) { return engine::UpperAnsi(name); }

MonitorContext& TheMonitorContext() {
    static MonitorContext context;
    return context;
}

MonitorReceiver::MonitorReceiver(bool baseline, Announce announce, void* data)
    : baseline_(baseline), announce_(announce), data_(data) {
    engine::KnownStartupItems().WithItems([&](engine::StartupItemArray& items) {
        knownAtStart_ = items.size();
        CatchUp(items);
    });
}

void MonitorReceiver::CatchUp(const engine::StartupItemArray& items) {
    for (; scanned_ < items.size(); ++scanned_) {
        const std::string& name = items[scanned_].name;
        keys_.push_back(NameKey(name));
        known_.emplace(keys_.back(), name);
    }
}

void MonitorReceiver::AddTrace(const std::string& name, const std::string* knownName) {
    trace_ += "\n ";
    trace_ += name;
    if (knownName) {
        trace_ += " (" + *knownName + ")";
    }
}

void MonitorReceiver::FlushTrace() {
    // One write per pass: under Wine each write raises an exception, and a line per entry
    // made a pass over a few thousand entries cost twice a listing.
    if (!trace_.empty()) {
        ::OutputDebugStringA(trace_.c_str());
        trace_.clear();
    }
}

void MonitorReceiver::Receive(const engine::StartupItem& item) {
    // The switched-off entries of the listing are not startups; only what Windows starts counts.
    if (!item.enabled || !engine::PassesReceiverRules(item)) {
        return;
    }
    std::string key = NameKey(item.name);
    presentNow_.insert(key);
    if (baseline_) {
        AddTrace(item.name, nullptr);
        engine::KnownStartupItems().AppendCopy(item);
        known_.emplace(std::move(key), item.name);
        return;
    }
    auto found = known_.find(key);
    const engine::StartupItem* added = nullptr;
    if (found == known_.end()) {
        // Not known at the last look: the main thread may have appended it since. Check and
        // append under one hold of the lock, so an entry switched back on is never reported.
        engine::KnownStartupItems().WithItems([&](engine::StartupItemArray& items) {
            CatchUp(items);
            found = known_.find(key);
            if (found == known_.end()) {
                engine::StartupItem copy = item;
                copy.enabled = true;
                added = &items.Append(std::move(copy));
                keys_.push_back(key);
                scanned_ = items.size();
                found = known_.emplace(key, item.name).first;
            }
        });
    }
    if (!added) {
        AddTrace(item.name, &found->second);
        return;
    }
    ++announced_;
    // Outside the lock: the window runs the alert while the main thread may append.
    announce_(*added, data_);
}

bool MonitorReceiver::PruneOneVanished(bool tasksRead) {
    // Only entries that were known when the pass started: one appended meanwhile (switched
    // back on by the main thread after its source was read) has not been looked for yet.
    return engine::KnownStartupItems().WithItems([&](engine::StartupItemArray& items) {
        for (size_t index = std::min(knownAtStart_, items.size()); index-- > 0;) {
            // Tasks that a pass could not read are unknown, not gone: dropped now, they would be
            // announced again once the service answers.
            if (!tasksRead && engine::IsTaskLocation(items[index].location)) {
                continue;
            }
            // The keys were taken in list order by CatchUp, one per entry up to knownAtStart_.
            if (!presentNow_.contains(keys_[index])) {
                items.RemoveAt(index);
                return true;
            }
        }
        return false;
    });
}

void MonitorPass(MonitorContext& context) {
    std::lock_guard pass(context.passLock);
    // A missing "Warning" value means the box is ticked; unticked, new entries are still
    // recorded (and kept off, if so set) but nobody is alerted.
    const bool alerts = ReadSetting("Warning", 1) != 0;
    const bool keepOff = ReadSetting(kKeepOffSetting, 0) != 0;
    const bool baseline = !context.baselineDone;
    std::vector<const engine::StartupItem*> fresh;
    MonitorReceiver receiver(baseline, &CollectNew, &fresh);
    engine::StartupItemArray seen;
    const bool tasksRead = engine::EnumerateAllSources([&](const engine::StartupItem& item) {
        receiver.Receive(item);
        if (engine::PassesReceiverRules(item)) {
            seen.Append(item);
        }
    });
    receiver.FlushTrace();
    context.baselineDone = true;
    engine::MarkReturningEntries(seen);
    std::vector<engine::StartupItem> back = engine::ReturnedEntries(seen);
    // Switching happens on the window thread, where the engine's messages belong. The baseline
    // pass reports to nobody.
    HWND window = context.notifyWindow.load();
    if (keepOff && !baseline && !back.empty() && window) {
        ::SendMessageA(window, platform::MSG_MONITOR_KEEP_OFF, reinterpret_cast<WPARAM>(&back),
                       alerts ? 1 : 0);
    }
    for (const engine::StartupItem* item : fresh) {
        const engine::StartupItem* returned = ReturnedCopy(back, *item);
        window = context.notifyWindow.load();
        // One switched off again was announced with its switch.
        if (window && alerts && !(returned && !returned->enabled)) {
            ::SendMessageA(window, platform::MSG_MONITOR_NEW_ENTRY, reinterpret_cast<WPARAM>(item),
                           returned ? 1 : 0);
        }
    }
    receiver.PruneOneVanished(tasksRead);
    if (HWND done = context.notifyWindow.load()) {
        ::SendMessageA(done, platform::MSG_MONITOR_DONE, 0, 0);
    }
}

void StartMonitorPass(HWND notifyWindow) {
    MonitorContext& context = TheMonitorContext();
    context.notifyWindow = notifyWindow;
    context.latestThread.reset(::CreateThread(nullptr, 0, &PassThread, &context, 0, nullptr));
}

bool WaitForMonitorPass(DWORD timeoutMs) {
    const HANDLE thread = TheMonitorContext().latestThread.get();
    return !thread || ::WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace shell
