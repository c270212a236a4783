#pragma once
// The Task Scheduler 2.0 service: connecting, and the task behind a task entry. Calls into the
// service are out of process; callers that must not wait long run them on a worker.

#include "platform/com.h"

#include <windows.h>
#include <oleauto.h>
#include <taskschd.h>

#include <string>

namespace engine {

// A BSTR the caller owns.
class unique_bstr {
public:
    unique_bstr() = default;
    explicit unique_bstr(const std::string& text);
    unique_bstr(const unique_bstr&) = delete;
    unique_bstr& operator=(const unique_bstr&) = delete;
    ~unique_bstr() { ::SysFreeString(p_); }
    BSTR get() const { return p_; }
    BSTR* put() {
        ::SysFreeString(p_);
        p_ = nullptr;
        return &p_;
    }
    std::string Narrow() const;

private:
    BSTR p_ = nullptr;
};

// An empty argument, and a 1-based index into one of the service's collections.
VARIANT NoVariant();
VARIANT IndexVariant(LONG index);

// The service's object, not yet connected; fails where Task Scheduler 2.0 is missing (before
// Windows Vista).
HRESULT CreateTaskService(platform::com_ptr<ITaskService>& service);

// A connected service on this thread's apartment, or the failure.
HRESULT ConnectTaskService(platform::com_ptr<ITaskService>& service);

// The root folder "\" of a connected service.
HRESULT OpenRootTaskFolder(platform::com_ptr<ITaskFolder>& root);

// The registered task at a path such as "\Vendor\Updater".
HRESULT OpenRegisteredTask(const std::string& path, platform::com_ptr<IRegisteredTask>& task);

}  // namespace engine
