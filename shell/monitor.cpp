#include "shell/monitor.h"

#include "engine/known_items.h"
#include "engine/listing.h"
#include "engine/logon_task_rules.h"
#include "engine/text.h"
#include "platform/app_messages.h"
#include "shell/core/settings_key.h"

#include <algorithm>

namespace shell {

namespace {

struct PassTarget {
    HWND window;
    bool alerts;
};

// The alert waits for the user; the worker waits with it (a sent message). A window that is
// gone makes SendMessage fail, and the pass goes on.
void SendNewEntry(const engine::StartupItem& known, void* data) {
    const auto& target = *static_cast<const PassTarget*>(data);
    if (target.window && target.alerts) {
        ::SendMessageA(target.window, platform::MSG_MONITOR_NEW_ENTRY,
                       reinterpret_cast<WPARAM>(&known), 0);
    }
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
    // recorded but nobody is alerted.
    PassTarget target{context.notifyWindow.load(), ReadSetting("Warning", 1) != 0};
    MonitorReceiver receiver(!context.baselineDone, &SendNewEntry, &target);
    const bool tasksRead = engine::EnumerateAllSources([&](const engine::StartupItem& item) {
        target.window = context.notifyWindow.load();
        receiver.Receive(item);
    });
    receiver.FlushTrace();
    context.baselineDone = true;
    receiver.PruneOneVanished(tasksRead);
    if (HWND window = context.notifyWindow.load()) {
        ::SendMessageA(window, platform::MSG_MONITOR_DONE, 0, 0);
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
