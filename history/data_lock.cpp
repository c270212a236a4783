#include "history/data_lock.h"

#include "engine/text.h"
#include "shell/core/data_path.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace history {

namespace {

// Named after the data folder itself, so that programs using another data root (tests, a
// portable copy) don't wait for each other.
std::string LockName() {
    std::uint32_t hash = 2166136261u;
    for (const char c : engine::UpperAnsi(shell::DataPath("data"))) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char name[48];
    std::snprintf(name, sizeof name, "Velbrook.data.%08x", static_cast<unsigned>(hash));
    return name;
}

}  // namespace

DataFolderLock::DataFolderLock() : lock_(LockName()) { lock_.Acquire(kDataLockWaitMs); }

}  // namespace history
