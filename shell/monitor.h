#pragma once
// The new-startup monitor: passes over every startup source on worker threads. The first pass
// of the program only records what is there (the baseline); every later pass reports each
// active entry whose name it has not seen before to the notify window (MSG_MONITOR_NEW_ENTRY,
// sent once every source is read, so the worker waits while the alert is open; lParam says
// whether the entry put itself back after it was switched off), then MSG_MONITOR_DONE. With
// "Keep switched-off programs off" set, the entries that came back go to the window first
// (MSG_MONITOR_KEEP_OFF), which switches them off again.
//
// The entries seen live in engine::KnownStartupItems(), which the main thread also appends to
// when it switches an entry back on. Its lock is held only around list work, never while a
// window is called.

#include "engine/startup_item.h"
#include "platform/unique_any.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace shell {

// The setting "Keep switched-off programs off": a pass that finds entries which put themselves
// back has the window thread switch them off again (MSG_MONITOR_KEEP_OFF). Default off.
inline constexpr char kKeepOffSetting[] = "KeepOff";

// The one program-wide monitor state.
struct MonitorContext {
    std::atomic<HWND> notifyWindow{nullptr};
    // Set at the end of the first pass, never cleared. Read and written by passes only, which
    // run one at a time under passLock.
    bool baselineDone = false;
    // Passes run one after another: a pass held up by open alerts delays the next one.
    std::mutex passLock;
    // The worker thread of the latest pass (touched by StartMonitorPass's caller only).
    platform::unique_handle latestThread;
};

MonitorContext& TheMonitorContext();

// Sets the notify window and starts one pass on a new worker thread.
void StartMonitorPass(HWND notifyWindow);

// Waits until the latest pass started by StartMonitorPass has ended; false on time-out.
bool WaitForMonitorPass(DWORD timeoutMs);

// The worker body: reads every source, records or reports new entries, then prunes and sends
// MSG_MONITOR_DONE. Runs on the calling thread.
void MonitorPass(MonitorContext& context);

// The receiver of one pass. Names are compared without regard to case; the lookup is a hash
// of the names known at the pass's start plus whatever the list gained since, so a pass costs
// no more than a listing however many entries there are.
class MonitorReceiver {
public:
    // A reported entry: the list's own copy, which stays valid until the next prune.
    using Announce = void (*)(const engine::StartupItem& known, void* data);

    MonitorReceiver(bool baseline, Announce announce, void* data);

    void Receive(const engine::StartupItem& item);

    // Prunes at most one known entry that existed at the pass's start and that this pass did
    // not find among the active entries; tasks only when tasksRead (the service answered).
    // Returns whether one was removed.
    bool PruneOneVanished(bool tasksRead = true);

    size_t announced() const { return announced_; }

    // Writes the pass's debug trace lines ("\n name", or "\n name (known name)") at once.
    void FlushTrace();

private:
    // Takes the names appended to the list since the last look (under the list's lock).
    void CatchUp(const engine::StartupItemArray& items);
    void AddTrace(const std::string& name, const std::string* knownName);

    bool baseline_;
    Announce announce_;
    void* data_;
    size_t knownAtStart_ = 0;
    size_t scanned_ = 0;
    // Upper-cased name -> the first known entry's name, in list order.
    std::unordered_map<std::string, std::string> known_;
    // The upper-cased name of each list entry looked at, by list index.
    std::vector<std::string> keys_;
    std::string trace_;
    std::unordered_set<std::string> presentNow_;
    size_t announced_ = 0;
};

// Upper-cased in the ANSI code page: the key names are compared by.
std::string NameKey(const std::string& name);

}  // namespace shell
