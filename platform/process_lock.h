#pragma once
// A named mutex that serialises work across the processes of one machine.

#include "platform/unique_any.h"

#include <string>

namespace platform {

class ProcessLock {
public:
    // name: without a namespace prefix and without backslashes. The lock lives in the global
    // namespace, so programs of every logon session share it; where that is refused, in the
    // session's own.
    explicit ProcessLock(const std::string& name);
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;
    ~ProcessLock() { Release(); }

    // Waits at most timeoutMs. A holder that ended without releasing it hands it on: what it
    // left half-written is for the caller to judge.
    bool Acquire(DWORD timeoutMs);
    void Release();
    bool held() const { return held_; }

private:
    unique_handle mutex_;
    bool held_ = false;
};

}  // namespace platform
