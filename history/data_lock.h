#pragma once
// One lock for every writer of the data folder, across processes: the console program, the
// window program and its workers append to the same files.

#include "platform/process_lock.h"

#include <windows.h>

namespace history {

// How long a writer waits for the others before it gives up and reports failure.
inline constexpr DWORD kDataLockWaitMs = 15000;

// Held around each append (tail check, write, flush) and around each read-and-replace, so
// that no writer's record is lost to another's. Readers take no lock: they only ever see
// whole records, or a torn tail that they leave out.
class DataFolderLock {
public:
    DataFolderLock();
    bool held() const { return lock_.held(); }

private:
    platform::ProcessLock lock_;
};

}  // namespace history
