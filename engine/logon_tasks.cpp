#include "engine/logon_tasks.h"

#include "engine/logon_task_rules.h"
#include "engine/logon_task_snapshot.h"
#include "engine/task_interfaces.h"
#include "engine/task_service.h"
#include "platform/current_user.h"
#include "platform/unique_any.h"

#include <memory>
#include <mutex>

namespace engine {

namespace {

void Trace(const std::string& text) { ::OutputDebugStringA(text.c_str()); }

std::string HexCode(HRESULT hr) {
    char text[16];
    wsprintfA(text, "%08lx", static_cast<unsigned long>(hr));
    return text;
}

TaskTrigger ReadTrigger(ITrigger& trigger) {
    TaskTrigger facts;
    TASK_TRIGGER_TYPE2 type = TASK_TRIGGER_EVENT;
    trigger.get_Type(&type);
    facts.kind = type == TASK_TRIGGER_LOGON  ? TaskTrigger::Kind::Logon
                 : type == TASK_TRIGGER_BOOT ? TaskTrigger::Kind::Boot
                                             : TaskTrigger::Kind::Other;
    VARIANT_BOOL enabled = VARIANT_TRUE;
    trigger.get_Enabled(&enabled);
    facts.enabled = enabled != VARIANT_FALSE;
    platform::com_ptr<ILogonTriggerDoc> logon;
    if (facts.kind == TaskTrigger::Kind::Logon &&
        SUCCEEDED(trigger.QueryInterface(kLogonTriggerIid, logon.put_void()))) {
        unique_bstr user;
        logon->get_UserId(user.put());
        facts.userId = user.Narrow();
    }
    return facts;
}

TaskAction ReadAction(IAction& action) {
    TaskAction facts;
    platform::com_ptr<IExecAction> exec;
    platform::com_ptr<IComHandlerActionDoc> handler;
    if (SUCCEEDED(action.QueryInterface(IID_IExecAction, exec.put_void()))) {
        unique_bstr path, arguments;
        exec->get_Path(path.put());
        exec->get_Arguments(arguments.put());
        facts.path = path.Narrow();
        facts.arguments = arguments.Narrow();
    } else if (SUCCEEDED(action.QueryInterface(kComHandlerActionIid, handler.put_void()))) {
        unique_bstr classId;
        handler->get_ClassId(classId.put());
        facts.classId = classId.Narrow();
    }
    return facts;
}

HRESULT ReadTask(IRegisteredTask& task, TaskFacts& facts) {
    unique_bstr path;
    VARIANT_BOOL enabled = VARIANT_TRUE;
    platform::com_ptr<ITaskDefinition> definition;
    platform::com_ptr<ITriggerCollection> triggers;
    platform::com_ptr<IActionCollection> actions;
    LONG triggerCount = 0, actionCount = 0;
    HRESULT hr = task.get_Path(path.put());
    if (SUCCEEDED(hr))
        hr = task.get_Enabled(&enabled);
    if (SUCCEEDED(hr))
        hr = task.get_Definition(definition.put());
    if (SUCCEEDED(hr))
        hr = definition->get_Triggers(triggers.put());
    if (SUCCEEDED(hr))
        hr = triggers->get_Count(&triggerCount);
    if (SUCCEEDED(hr))
        hr = definition->get_Actions(actions.put());
    if (SUCCEEDED(hr))
        hr = actions->get_Count(&actionCount);
    if (FAILED(hr)) {
        return hr;
    }
    facts.path = path.Narrow();
    facts.enabled = enabled != VARIANT_FALSE;
    // Both collections count from 1.
    for (LONG index = 1; index <= triggerCount; ++index) {
        platform::com_ptr<ITrigger> trigger;
        if (SUCCEEDED(triggers->get_Item(index, trigger.put()))) {
            facts.triggers.push_back(ReadTrigger(*trigger.get()));
        }
    }
    for (LONG index = 1; index <= actionCount; ++index) {
        platform::com_ptr<IAction> action;
        if (SUCCEEDED(actions->get_Item(index, action.put()))) {
            facts.actions.push_back(ReadAction(*action.get()));
        }
    }
    return S_OK;
}

// A folder that can't be read (rights) is passed over with a trace; the others still count.
void ReadFolder(ITaskFolder& folder, const TaskUser& user, std::vector<StartupItem>& items) {
    platform::com_ptr<IRegisteredTaskCollection> tasks;
    LONG count = 0;
    HRESULT hr = folder.GetTasks(TASK_ENUM_HIDDEN, tasks.put());
    if (SUCCEEDED(hr))
        hr = tasks->get_Count(&count);
    if (FAILED(hr)) {
        Trace("Task Scheduler: a folder's tasks could not be read, " + HexCode(hr));
    }
    for (LONG index = 1; index <= count; ++index) {
        platform::com_ptr<IRegisteredTask> task;
        TaskFacts facts;
        if (SUCCEEDED(tasks->get_Item(IndexVariant(index), task.put())) &&
            SUCCEEDED(ReadTask(*task.get(), facts))) {
            if (auto item = TaskStartupEntry(facts, user)) {
                items.push_back(std::move(*item));
            }
        }
    }
    platform::com_ptr<ITaskFolderCollection> folders;
    count = 0;
    if (SUCCEEDED(folder.GetFolders(0, folders.put()))) {
        folders->get_Count(&count);
    }
    for (LONG index = 1; index <= count; ++index) {
        platform::com_ptr<ITaskFolder> child;
        if (SUCCEEDED(folders->get_Item(IndexVariant(index), child.put()))) {
            ReadFolder(*child.get(), user, items);
        }
    }
}

// What a worker read; shared with the caller, who may stop waiting before the worker ends.
struct TaskRead {
    platform::unique_handle done{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HRESULT result = E_PENDING;
    std::vector<StartupItem> items;
};

HRESULT ReadAllFolders(std::vector<StartupItem>& items) {
    // A free-threaded apartment of its own: the caller's thread may have none, or a busy one.
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HRESULT hr = S_OK;
    {
        platform::com_ptr<ITaskFolder> root;
        hr = OpenRootTaskFolder(root);
        if (SUCCEEDED(hr)) {
            ReadFolder(*root.get(), {platform::CurrentUserName(), platform::CurrentUserSid()},
                       items);
        }
    }
    if (SUCCEEDED(init)) {
        ::CoUninitialize();
    }
    return hr;
}

DWORD WINAPI ReadThread(void* context) {
    std::unique_ptr<std::shared_ptr<TaskRead>> owner(
        static_cast<std::shared_ptr<TaskRead>*>(context));
    TaskRead& read = **owner;
    read.result = ReadAllFolders(read.items);
    ::SetEvent(read.done.get());
    return 0;
}

}  // namespace

bool ReadLogonTasksUnbounded(std::vector<StartupItem>& items) {
    const HRESULT hr = ReadAllFolders(items);
    if (FAILED(hr)) {
        Trace("Task Scheduler: not reachable, " + HexCode(hr));
        return false;
    }
    return true;
}

bool ReadLogonTasks(std::vector<StartupItem>& items) {
    auto read = std::make_shared<TaskRead>();
    auto share = std::make_unique<std::shared_ptr<TaskRead>>(read);
    platform::unique_handle thread(
        ::CreateThread(nullptr, 0, &ReadThread, share.get(), 0, nullptr));
    if (!thread) {
        return false;
    }
    share.release();  // the worker's now
    if (::WaitForSingleObject(read->done.get(), kTaskServiceTimeoutMs) != WAIT_OBJECT_0) {
        // The worker keeps its share of the result and ends on its own.
        Trace("Task Scheduler: no answer in time; tasks left out of this listing");
        return false;
    }
    if (FAILED(read->result)) {
        Trace("Task Scheduler: not reachable, " + HexCode(read->result));
        return false;
    }
    items = std::move(read->items);
    return true;
}

bool EnumerateLogonTasks(const EntrySink& sink) {
    std::vector<StartupItem> items;
    if (!ReadLogonTasks(items)) {
        return false;
    }
    KeepLogonTaskSnapshot(items);
    for (const StartupItem& item : items) {
        sink(item);
    }
    return true;
}

}  // namespace engine
