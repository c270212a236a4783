#include "engine/logon_task_snapshot.h"
#include "engine/switch_kinds.h"
#include "engine/switch_reports.h"
#include "engine/task_service.h"

namespace engine {

namespace {

// A task is switched the way Windows does it: the task stays registered with its definition,
// only its enabled flag changes, so there is no store record.
bool SetTaskEnabled(const StartupItem& item, bool enabled) {
    platform::ComApartment apartment;
    platform::com_ptr<IRegisteredTask> task;
    HRESULT hr = OpenRegisteredTask(item.name, task);
    if (SUCCEEDED(hr)) {
        hr = task->put_Enabled(enabled ? VARIANT_TRUE : VARIANT_FALSE);
    }
    if (FAILED(hr)) {
        return false;
    }
    NoteTaskSwitched(item.name, enabled);
    return true;
}

}  // namespace

bool DisableTaskItem(const StartupItem& item, ReportStyle style) {
    if (!SetTaskEnabled(item, false)) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    return true;
}

bool EnableTaskItem(const StartupItem& item, ReportStyle style) {
    if (!SetTaskEnabled(item, true)) {
        reports::EnableFailed(item.name, style);
        return false;
    }
    return true;
}

}  // namespace engine
