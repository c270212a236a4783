#pragma once
// The Task Scheduler service of a fresh test prefix starts on first use and may not be up in
// time for the first scheduler call; the task tests start it and wait for it first. Where the
// prefix can't run it at all (services that hang at the prefix's first boot keep the service
// database locked), the tests that need it are skipped, saying why.

#include "engine/task_service.h"
#include "platform/unique_any.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace testing_support {

inline bool& SchedulerRunning() {
    static bool running = false;
    return running;
}

#define SKIP_WITHOUT_SCHEDULER()              \
    if (!testing_support::SchedulerRunning()) \
    GTEST_SKIP() << "the Task Scheduler service does not run in this prefix"

inline bool OnWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// What Wine's Task Scheduler 2.0 can't do; the checks after it run in full on Windows.
#define MARK_WINE_LACKS(calls)     \
    if (testing_support::OnWine()) \
    GTEST_SKIP() << "Wine's Task Scheduler lacks " calls

// A Task Scheduler 2.0 folder where the root task `name` belongs: registering the task fails.
// Wine's DeleteTask also takes such a folder away; DeleteFolder is the documented call.
inline void BlockRootTask(const std::string& name, bool block) {
    platform::ComApartment apartment;
    platform::com_ptr<ITaskFolder> root, folder;
    if (SUCCEEDED(engine::OpenRootTaskFolder(root))) {
        if (block) {
            root->CreateFolder(engine::unique_bstr(name).get(), engine::NoVariant(), folder.put());
        } else {
            root->DeleteFolder(engine::unique_bstr(name).get(), 0);
        }
    }
}

// While it lives, the process that runs the Task Scheduler service is suspended: calls to the
// service get no answer, as from a service that hangs.
class SuspendedScheduler {
public:
    SuspendedScheduler() {
        if (const DWORD id = ServiceProcessId()) {
            process_.reset(::OpenProcess(PROCESS_SUSPEND_RESUME, FALSE, id));
        }
        suspended_ = process_ && Call("NtSuspendProcess");
    }
    ~SuspendedScheduler() {
        if (suspended_) {
            Call("NtResumeProcess");
        }
    }
    SuspendedScheduler(const SuspendedScheduler&) = delete;
    SuspendedScheduler& operator=(const SuspendedScheduler&) = delete;
    bool ok() const { return suspended_; }

private:
    bool Call(const char* name) const {
        using ProcessCall = LONG(WINAPI*)(HANDLE);
        const auto call = reinterpret_cast<ProcessCall>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), name)));
        return call && call(process_.get()) >= 0;
    }
    static DWORD ServiceProcessId() {
        SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        SC_HANDLE service =
            manager ? ::OpenServiceA(manager, "Schedule", SERVICE_QUERY_STATUS) : nullptr;
        SERVICE_STATUS_PROCESS status{};
        DWORD size = 0;
        if (service) {
            ::QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO,
                                   reinterpret_cast<BYTE*>(&status), sizeof status, &size);
            ::CloseServiceHandle(service);
        }
        if (manager) {
            ::CloseServiceHandle(manager);
        }
        return status.dwProcessId;
    }

    platform::unique_handle process_;
    bool suspended_ = false;
};

class SchedulerService : public ::testing::Environment {
public:
    // Asking the service manager can block for good while the database is locked, so the
    // asking happens on a thread of its own that the tests wait for a minute at most.
    void SetUp() override {
        auto outcome = std::make_shared<std::atomic<int>>(0);  // 0 asking, 1 running, 2 not
        std::thread([outcome] { *outcome = StartAndWait() ? 1 : 2; }).detach();
        for (int i = 0; i < 600 && *outcome == 0; ++i) {
            ::Sleep(100);
        }
        SchedulerRunning() = *outcome == 1;
    }

private:
    static bool StartAndWait() {
        SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        SC_HANDLE service =
            manager ? ::OpenServiceA(manager, "Schedule", SERVICE_START | SERVICE_QUERY_STATUS)
                    : nullptr;
        bool running = false;
        for (int attempt = 0; service && !running && attempt < 120; ++attempt) {
            SERVICE_STATUS status{};
            ::QueryServiceStatus(service, &status);
            running = status.dwCurrentState == SERVICE_RUNNING;
            if (status.dwCurrentState == SERVICE_STOPPED) {
                ::StartServiceA(service, 0, nullptr);
            }
            if (!running) {
                ::Sleep(500);
            }
        }
        if (service) {
            ::CloseServiceHandle(service);
        }
        if (manager) {
            ::CloseServiceHandle(manager);
        }
        return running;
    }
};

inline const auto* const kSchedulerService =
    ::testing::AddGlobalTestEnvironment(new SchedulerService);

}  // namespace testing_support
