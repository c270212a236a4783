#include "shell/logon_task.h"

#include "engine/product_name.h"
#include "engine/task_registration.h"
#include "engine/task_service.h"
#include "engine/text.h"
#include "platform/com.h"
#include "platform/current_user.h"
#include "platform/module_path.h"
#include "platform/text_codec.h"
#include "shell/logon_task_xml.h"

#include <cstdio>

namespace shell {

namespace {

// The run-only-if-logged-on flag: with it the task needs no password.
constexpr DWORD kRunOnlyIfLoggedOn = TASK_FLAG_RUN_ONLY_IF_LOGGED_ON;
static_assert(kRunOnlyIfLoggedOn == 0x2000);

// How long deleting a work item waits for another reader of its file: 2 s in all.
constexpr int kDeleteTries = 40;
constexpr DWORD kDeleteRetryMs = 50;

// The task's texts in the program's ANSI code page (the thread's code page would differ from
// it under the UTF-8 manifest).
std::wstring Wide(const std::string& text) { return platform::text::Wide(text); }

std::string Narrow(const wchar_t* wide) {
    return wide ? platform::text::Narrow(wide) : std::string();
}

void Report(const char* what, HRESULT hr) {
    std::printf("%s, error = 0x%x\n", what, static_cast<unsigned>(hr));
    std::fflush(stdout);
}

void ReportActivation(const char* what, HRESULT hr) {
    std::printf("%s", what);
    std::printf("error = 0x%x\n", static_cast<unsigned>(hr));
    std::fflush(stdout);
}

bool CreateScheduler(platform::com_ptr<ITaskScheduler>& scheduler) {
    return SUCCEEDED(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_ITaskScheduler, scheduler.put_void()));
}

HRESULT Activate(ITaskScheduler& scheduler, const std::string& name,
                 platform::com_ptr<ITask>& task) {
    return scheduler.Activate(Wide(name).c_str(), IID_ITask,
                              reinterpret_cast<IUnknown**>(task.put()));
}

// The application without its quotes, for comparing two spellings of one path.
std::string Unquoted(const std::string& application) {
    std::string path;
    for (char c : application) {
        if (c != '"') {
            path += c;
        }
    }
    return std::string(engine::TrimBlanks(path));
}

std::string QuotedProgram(const std::string& folder, const std::string& applicationFileName) {
    return "\"" + folder + "\\" + applicationFileName + "\"";
}

std::string ProgramFolder() {
    std::string folder = platform::ProgramFolderWithBackslash();
    if (!folder.empty()) {
        folder.pop_back();
    }
    return folder;
}

// Step one of creating: the work item with everything but its trigger.
void SaveWorkItem(const std::string& name, const std::string& application,
                  const std::string& comment, const std::string& folder,
                  const std::string& parameters) {
    platform::ComApartment apartment;
    platform::com_ptr<ITaskScheduler> scheduler;
    if (!apartment.ok() || !CreateScheduler(scheduler)) {
        return;
    }
    platform::com_ptr<ITask> task;
    HRESULT hr = scheduler->NewWorkItem(Wide(name).c_str(), CLSID_CTask, IID_ITask,
                                        reinterpret_cast<IUnknown**>(task.put()));
    if (FAILED(hr)) {
        Report("Failed calling NewWorkItem", hr);
        return;
    }
    const std::string user = platform::CurrentUserName();
    task->SetApplicationName(Wide(application).c_str());
    task->SetWorkingDirectory(Wide(folder).c_str());
    task->SetFlags(kRunOnlyIfLoggedOn);
    task->SetAccountInformation(Wide(user).c_str(), nullptr);
    task->SetComment(Wide(comment).c_str());
    task->SetParameters(Wide(parameters).c_str());
    platform::com_ptr<IPersistFile> file;
    hr = task.query(IID_IPersistFile, file);
    if (FAILED(hr)) {
        Report("Failed calling QueryInterface", hr);
        return;
    }
    hr = file->Save(nullptr, TRUE);
    if (FAILED(hr)) {
        Report("Failed calling Save", hr);
    }
}

// Step two: the one trigger, saved with the work item of step one.
bool SaveTrigger(const std::string& name, WORD hour, WORD minute, WORD typeWord,
                 TASK_TRIGGER_TYPE triggerType) {
    platform::ComApartment apartment;
    platform::com_ptr<ITaskScheduler> scheduler;
    if (!apartment.ok() || !CreateScheduler(scheduler)) {
        return false;
    }
    platform::com_ptr<ITask> task;
    HRESULT hr = Activate(*scheduler.get(), name, task);
    if (FAILED(hr)) {
        ReportActivation("Failed calling ITaskScheduler::Activate: ", hr);
        return false;
    }
    // A work item is saved with a default trigger of its own; the task has exactly one.
    WORD count = 0;
    while (SUCCEEDED(task->GetTriggerCount(&count)) && count > 0 &&
           SUCCEEDED(task->DeleteTrigger(static_cast<WORD>(count - 1)))) {
    }
    WORD index = 0;
    platform::com_ptr<ITaskTrigger> trigger;
    hr = task->CreateTrigger(&index, trigger.put());
    if (FAILED(hr)) {
        ReportActivation("Failed calling ITask::CreatTrigger: ", hr);
        return false;
    }
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    TASK_TRIGGER data{};
    data.cbTriggerSize = static_cast<WORD>(sizeof data);
    data.wBeginYear = today.wYear;
    data.wBeginMonth = today.wMonth;
    data.wBeginDay = today.wDay;
    data.wStartHour = hour;
    data.wStartMinute = minute;
    data.TriggerType = triggerType;
    data.Type.Daily.DaysInterval = 1;
    reinterpret_cast<WORD*>(&data.Type)[1] = typeWord;
    hr = trigger->SetTrigger(&data);
    if (FAILED(hr)) {
        ReportActivation("Failed calling ITaskTrigger::SetTrigger: ", hr);
        return false;
    }
    platform::com_ptr<IPersistFile> file;
    hr = task.query(IID_IPersistFile, file);
    if (FAILED(hr)) {
        Report("Failed calling QueryInterface", hr);
        return false;
    }
    hr = file->Save(nullptr, TRUE);
    if (FAILED(hr)) {
        Report("Failed calling Save", hr);
        return false;
    }
    std::printf("The trigger was created and IPersistFile::Save was \n");
    std::printf("called to save the new trigger to disk.\n");
    std::fflush(stdout);
    return true;
}

// Deletes the version 1 work item name; true when none is left. Without the version 1
// scheduler there is none.
bool DeleteWorkItem(const std::string& name) {
    platform::ComApartment apartment;
    platform::com_ptr<ITaskScheduler> scheduler;
    if (!apartment.ok()) {
        return false;
    }
    if (!CreateScheduler(scheduler)) {
        return true;
    }
    // The Schedule service reads a work item it has just seen without letting anyone delete
    // it meanwhile (its own reading gives up after a few tenths of a second).
    const std::wstring wide = Wide(name);
    HRESULT deleted = scheduler->Delete(wide.c_str());
    for (int tries = 0;
         deleted == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) && tries < kDeleteTries; ++tries) {
        ::Sleep(kDeleteRetryMs);
        deleted = scheduler->Delete(wide.c_str());
    }
    platform::com_ptr<ITask> task;
    return FAILED(Activate(*scheduler.get(), name, task));
}

}  // namespace

static_assert(sizeof(TASK_TRIGGER) == 48);

std::string LogonTaskName() { return engine::LogonTaskName; }

std::string LogonTaskComment() {
    return std::string("Runs ") + engine::ProductName + " at Scheduled Time.";
}

bool TaskScheduler2Present() {
    platform::ComApartment apartment;
    platform::com_ptr<ITaskService> service;
    return apartment.ok() && SUCCEEDED(engine::CreateTaskService(service));
}

bool TaskExists(const std::string& name) {
    platform::ComApartment apartment;
    if (!apartment.ok()) {
        return false;
    }
    platform::com_ptr<IRegisteredTask> registered;
    if (SUCCEEDED(engine::OpenRegisteredTask("\\" + name, registered))) {
        return true;
    }
    platform::com_ptr<ITaskScheduler> scheduler;
    platform::com_ptr<ITask> task;
    return CreateScheduler(scheduler) && SUCCEEDED(Activate(*scheduler.get(), name, task));
}

std::optional<TaskDetails> ReadTask(const std::string& name) {
    platform::ComApartment apartment;
    platform::com_ptr<ITaskScheduler> scheduler;
    platform::com_ptr<ITask> task;
    if (!apartment.ok() || !CreateScheduler(scheduler) ||
        FAILED(Activate(*scheduler.get(), name, task))) {
        return std::nullopt;
    }
    TaskDetails details;
    const auto text = [](auto getter) {
        platform::unique_cotaskmem<LPWSTR> value;
        return SUCCEEDED(getter(value.put())) ? Narrow(value.get()) : std::string();
    };
    details.application = text([&](LPWSTR* v) { return task->GetApplicationName(v); });
    details.workingDirectory = text([&](LPWSTR* v) { return task->GetWorkingDirectory(v); });
    details.parameters = text([&](LPWSTR* v) { return task->GetParameters(v); });
    details.comment = text([&](LPWSTR* v) { return task->GetComment(v); });
    task->GetFlags(&details.flags);
    WORD count = 0;
    task->GetTriggerCount(&count);
    for (WORD i = 0; i < count; ++i) {
        platform::com_ptr<ITaskTrigger> trigger;
        TASK_TRIGGER data{};
        data.cbTriggerSize = static_cast<WORD>(sizeof data);
        if (SUCCEEDED(task->GetTrigger(i, trigger.put())) &&
            SUCCEEDED(trigger->GetTrigger(&data))) {
            details.triggers.push_back(data);
        }
    }
    return details;
}

TaskChange CreateStartupTask(const std::string& name, const std::string& applicationFileName,
                             const std::string& comment, const std::string& folder, WORD hour,
                             WORD minute, WORD typeWord, TASK_TRIGGER_TYPE triggerType,
                             const std::string& parameters) {
    const std::string application = QuotedProgram(folder, applicationFileName);
    if (const auto existing = ReadTask(name)) {
        // Left alone while it starts this program; after a move it would start a program that
        // is no longer there.
        if (engine::EqualsNoCase(Unquoted(existing->application), Unquoted(application))) {
            return TaskChange::Unchanged;
        }
        if (!DeleteStartupTask(name)) {
            return TaskChange::Failed;
        }
    }
    SaveWorkItem(name, application, comment, folder, parameters);
    return SaveTrigger(name, hour, minute, typeWord, triggerType) ? TaskChange::Created
                                                                  : TaskChange::Failed;
}

bool RegisterLogonTask(const std::string& name, const std::string& applicationFileName,
                       const std::string& comment, const std::string& folder,
                       const std::string& parameters) {
    platform::ComApartment apartment;
    const std::string user = platform::CurrentUserSid();
    if (!apartment.ok() || user.empty()) {
        return false;
    }
    // Where the two schedulers keep their tasks apart, an old work item of this name would
    // start the program a second time. Where they share one store it is this very task, so it
    // goes first: deleting it afterwards would take the new one with it.
    if (!DeleteWorkItem(name)) {
        return false;
    }
    const HRESULT hr =
        engine::RegisterRootTask(name, LogonTaskXml({QuotedProgram(folder, applicationFileName),
                                                     folder, parameters, comment, user}));
    if (FAILED(hr)) {
        Report("Failed calling ITaskFolder::RegisterTask", hr);
        return false;
    }
    return true;
}

bool DeleteStartupTask(const std::string& name) {
    platform::ComApartment apartment;
    if (!apartment.ok() || (TaskScheduler2Present() && FAILED(engine::DeleteRootTask(name)))) {
        return false;
    }
    return DeleteWorkItem(name) && !TaskExists(name);
}

bool ApplyLogonTask(bool startAtLogon) {
    if (!startAtLogon) {
        return DeleteStartupTask(LogonTaskName());
    }
    if (TaskScheduler2Present()) {
        return RegisterLogonTask(LogonTaskName(), kLogonTaskProgram, LogonTaskComment(),
                                 ProgramFolder(), kLogonTaskParameters);
    }
    return CreateStartupTask(LogonTaskName(), kLogonTaskProgram, LogonTaskComment(),
                             ProgramFolder(), 0, 0, 0, TASK_EVENT_TRIGGER_AT_LOGON,
                             kLogonTaskParameters) != TaskChange::Failed;
}

}  // namespace shell
