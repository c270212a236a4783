#include "shell/velbrook_app.h"

#include "cleanup/ignore_list.h"
#include "engine/logon_task_snapshot.h"
#include "engine/product_name.h"
#include "platform/app_messages.h"
#include "platform/module_path.h"
#include "shell/core/data_path.h"
#include "shell/core/main_window_finder.h"
#include "shell/core/renovix_staging.h"
#include "shell/startup_flags.h"
#include "shell/core/swh_table.h"
#include "shell/velbrook_dlg.h"

#include <commctrl.h>

namespace shell {

bool CVelbrookApp::HandOverToRunningCopy() {
    mutex_.reset(::CreateMutexA(nullptr, TRUE, engine::ProductName));
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    HWND running = FindRunningMainWindow();
    if (!running) {
        // The first copy has no window yet: this one runs as a full second copy.
        return false;
    }
    ::SendMessage(running, platform::MSG_SHOW_RUNNING_COPY, 0, 0);
    mutex_.reset();
    return true;
}

bool CVelbrookApp::InitInstance(const std::string& commandLine) {
    ActOnCommandLine(commandLine);
    if (HandOverToRunningCopy()) {
        return false;
    }
    // The pages list the tasks from a snapshot: read during the splash, it is there when the
    // home page first counts.
    engine::RefreshLogonTaskSnapshot();
    PutStagedRenovixInPlace(platform::ProgramFolderWithBackslash());

    INITCOMMONCONTROLSEX classes{sizeof classes, 0xFF};
    ::InitCommonControlsEx(&classes);

    PrepareDataFolder();
    cleanup::LoadIgnoreList();

    {
        CVelbrookDlg mainWindow;
        mainWindow.DoModal();
    }
    ReleaseSwhUse(swhTable_);
    return false;
}

int CVelbrookApp::ExitInstance() {
    ClearOwnSwhSlot(engine::ProductName);
    return 0;
}

}  // namespace shell
