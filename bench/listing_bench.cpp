// A full listing against the least work any listing must do: enumerate the six Run keys (the
// 32-bit programs' two included) and Task Manager's StartupApproved keys, search the two
// Startup folders and load each shortcut once, and read every scheduled task's triggers and
// actions. The machine holds 200 logon tasks besides the Run values and shortcuts.

#include "bench/seeded_machine.h"
#include "bench/timing.h"
#include "engine/listing.h"
#include "engine/startup_folders.h"
#include "engine/task_service.h"
#include "platform/com.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "platform/unique_any.h"

#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kTasks = 200;
constexpr char kTaskFolder[] = "BenchVendor";

// Half in the root, half in a folder of their own; each removed again by the next run.
void SeedTasks(bool keep) {
    platform::ComApartment apartment;
    platform::com_ptr<ITaskService> service;
    platform::com_ptr<ITaskFolder> root, vendor;
    if (FAILED(engine::ConnectTaskService(service)) ||
        FAILED(service->GetFolder(engine::unique_bstr("\\").get(), root.put()))) {
        std::printf("no Task Scheduler: tasks not seeded\n");
        return;
    }
    if (FAILED(root->GetFolder(engine::unique_bstr(kTaskFolder).get(), vendor.put()))) {
        root->CreateFolder(engine::unique_bstr(kTaskFolder).get(), engine::NoVariant(),
                           vendor.put());
    }
    for (int i = 0; i < kTasks && vendor; ++i) {
        ITaskFolder& folder = i % 2 ? *vendor.get() : *root.get();
        const std::string name = "Bench task " + std::to_string(i);
        folder.DeleteTask(engine::unique_bstr(name).get(), 0);
        if (!keep) {
            continue;
        }
        const std::string xml =
            "<?xml version=\"1.0\"?><Task version=\"1.2\" "
            "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\"><Triggers>"
            "<LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers><Actions>"
            "<Exec><Command>C:\\Bench\\task" +
            std::to_string(i) +
            ".exe</Command><Arguments>/quiet</Arguments></Exec></Actions></Task>";
        platform::com_ptr<IRegisteredTask> task;
        folder.RegisterTask(engine::unique_bstr(name).get(), engine::unique_bstr(xml).get(),
                            TASK_CREATE_OR_UPDATE, engine::NoVariant(), engine::NoVariant(),
                            TASK_LOGON_INTERACTIVE_TOKEN, engine::NoVariant(), task.put());
    }
}

size_t ReadTaskFolder(ITaskFolder& folder) {
    size_t seen = 0;
    platform::com_ptr<IRegisteredTaskCollection> tasks;
    LONG count = 0;
    if (SUCCEEDED(folder.GetTasks(TASK_ENUM_HIDDEN, tasks.put()))) {
        tasks->get_Count(&count);
    }
    for (LONG i = 1; i <= count; ++i) {
        platform::com_ptr<IRegisteredTask> task;
        platform::com_ptr<ITaskDefinition> definition;
        platform::com_ptr<ITriggerCollection> triggers;
        platform::com_ptr<IActionCollection> actions;
        if (SUCCEEDED(tasks->get_Item(engine::IndexVariant(i), task.put())) &&
            SUCCEEDED(task->get_Definition(definition.put()))) {
            definition->get_Triggers(triggers.put());
            definition->get_Actions(actions.put());
            ++seen;
        }
    }
    platform::com_ptr<ITaskFolderCollection> folders;
    count = 0;
    if (SUCCEEDED(folder.GetFolders(0, folders.put()))) {
        folders->get_Count(&count);
    }
    for (LONG i = 1; i <= count; ++i) {
        platform::com_ptr<ITaskFolder> child;
        if (SUCCEEDED(folders->get_Item(engine::IndexVariant(i), child.put()))) {
            seen += ReadTaskFolder(*child.get());
        }
    }
    return seen;
}

size_t ReadTasks() {
    platform::com_ptr<ITaskService> service;
    platform::com_ptr<ITaskFolder> root;
    if (FAILED(engine::ConnectTaskService(service)) ||
        FAILED(service->GetFolder(engine::unique_bstr("\\").get(), root.put()))) {
        return 0;
    }
    return ReadTaskFolder(*root.get());
}

size_t BarePass() {
    size_t seen = 0;
    struct Key {
        HKEY root;
        REGSAM view;
        const char* path;
    };
    const Key keys[] = {
        {HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {HKEY_CURRENT_USER, 0,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"},
        {HKEY_CURRENT_USER, 0,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder"},
    };
    for (const Key& k : keys) {
        HKEY key;
        if (::RegOpenKeyExA(k.root, k.path, 0, KEY_READ | k.view, &key) != ERROR_SUCCESS) {
            continue;
        }
        char name[1024];
        BYTE data[1024];
        for (DWORD i = 0;; ++i) {
            DWORD nameCount = sizeof name, dataLength = sizeof data;
            if (::RegEnumValueA(key, i, name, &nameCount, nullptr, nullptr, data, &dataLength) !=
                ERROR_SUCCESS) {
                break;
            }
            ++seen;
        }
        ::RegCloseKey(key);
    }
    platform::ComApartment apartment;
    platform::com_ptr<IShellLinkA> link;
    ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                       link.put_void());
    platform::com_ptr<IPersistFile> file;
    link.query(IID_IPersistFile, file);
    for (const auto& [root, value] : {std::pair{HKEY_CURRENT_USER, "Startup"},
                                      std::pair{HKEY_LOCAL_MACHINE, "Common Startup"}}) {
        // The wide search and names as they come: the least any listing of Unicode names does.
        const std::wstring folder =
            platform::text::Wide(engine::GetShellFolderPath(root, value)) + L"\\";
        WIN32_FIND_DATAW found;
        platform::unique_hfind search(::FindFirstFileW((folder + L"*.lnk").c_str(), &found));
        for (bool more = static_cast<bool>(search); more;
             more = ::FindNextFileW(search.get(), &found) != FALSE) {
            char target[1024], arguments[1024];
            if (SUCCEEDED(file->Load((folder + found.cFileName).c_str(), STGM_READ))) {
                link->GetPath(target, sizeof target, nullptr, SLGP_UNCPRIORITY);
                link->GetArguments(arguments, sizeof arguments);
            }
            ++seen;
        }
    }
    return seen + ReadTasks();
}

}  // namespace

int main() {
    // Half the Run values carry names outside the legacy code page (Cyrillic, CJK, an emoji).
    bench::SeedPlan plan;
    const char* stems[] = {
        "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0 ",
        "\xE7\xA8\x8B\xE5\xBA\x8F ", "Tool \xF0\x9F\x98\x80 "};
    for (int i = 0; i < plan.runValues / 2; ++i) {
        plan.chosenNames.push_back(stems[i % 3] + std::to_string(i));
    }
    bench::SeedMachine(plan);
    SeedTasks(true);
    size_t listed = 0, bare = 0;
    const auto samples = bench::Interleaved(
        21, {[&] { listed = engine::ListStartupItems().size(); }, [&] { bare = BarePass(); }});
    std::printf("entries: listing %zu, bare pass %zu\n", listed, bare);
    bench::PrintTime("full listing", samples[0]);
    bench::PrintTime("bare pass", samples[1]);
    bench::PrintRatio("listing/bare", bench::Ratios(samples[0], samples[1]), 1.3);
    SeedTasks(false);
    return 0;
}
