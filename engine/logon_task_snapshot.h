#pragma once
// The task source for callers that must not wait on the Task Scheduler: the window thread's
// listings. They get the entries of the last read at once; a worker reads the service again
// (one read at a time, unbounded: a service that hangs holds that one worker, and the snapshot
// stays as it was) and keeps what it found as the new snapshot.
// Every full read (the monitor's pass, the console) leaves its result there too. Whoever
// shows tasks subscribes, and is called on the worker when a read found something else than
// the snapshot held: a window posts itself a message from there and lists again.

#include "engine/startup_item.h"

#include <functional>
#include <vector>

namespace engine {

// Feeds the snapshot's task entries and starts a read in the background. Before the first read
// has ended it feeds nothing and returns false (the source is missing from that listing, not
// empty): the read it starts calls the subscribers when it ends.
bool EnumerateLogonTaskSnapshot(const EntrySink& sink);

// Starts a read of the service on a worker unless one is running.
void RefreshLogonTaskSnapshot();

// Keeps what a full read found; the subscribers are called when it differs from the snapshot.
void KeepLogonTaskSnapshot(const std::vector<StartupItem>& items);

// A task was switched: the snapshot shows it so at once, and a read confirms it.
void NoteTaskSwitched(const std::string& path, bool enabled);

// Calls changed (on a worker, no lock held) whenever the snapshot changes while it lives. The
// call may still come once while the subscription ends: a window only posts from there.
class TaskSnapshotSubscription {
public:
    explicit TaskSnapshotSubscription(std::function<void()> changed);
    TaskSnapshotSubscription(const TaskSnapshotSubscription&) = delete;
    TaskSnapshotSubscription& operator=(const TaskSnapshotSubscription&) = delete;
    ~TaskSnapshotSubscription();

private:
    unsigned id_;
};

}  // namespace engine
