#include "platform/process_lock.h"

namespace platform {

ProcessLock::ProcessLock(const std::string& name) {
    mutex_.reset(::CreateMutexA(nullptr, FALSE, ("Global\\" + name).c_str()));
    if (!mutex_) {
        mutex_.reset(::CreateMutexA(nullptr, FALSE, ("Local\\" + name).c_str()));
    }
}

bool ProcessLock::Acquire(DWORD timeoutMs) {
    if (held_) {
        return true;
    }
    if (!mutex_) {
        return false;
    }
    const DWORD result = ::WaitForSingleObject(mutex_.get(), timeoutMs);
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    return held_;
}

void ProcessLock::Release() {
    if (held_) {
        ::ReleaseMutex(mutex_.get());
        held_ = false;
    }
}

}  // namespace platform
