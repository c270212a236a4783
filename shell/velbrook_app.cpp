#include "shell/velbrook_app.h"

#include "cleanup/ignore_list.h"
#include "engine/logon_task_snapshot.h"
#include "engine/product_name.h"
#include "platform/app_messages.h"
#include "platform/message_box.h"
#include "platform/module_path.h"
#include "platform/text_codec.h"
#include "shell/core/data_path.h"
#include "shell/core/main_window_finder.h"
#include "shell/core/renovix_staging.h"
#include "shell/startup_flags.h"
#include "shell/core/swh_table.h"
#include "shell/velbrook_dlg.h"
#include "update/install_step_start.h"
#include "update/kept_update.h"

#include <commctrl.h>

namespace shell {

namespace {

constexpr char kKeptUpdateQuestion[] =
    "An update of Velbrook was downloaded but not finished, because some of its files were in "
    "use. Finish it now? Velbrook closes and starts again.";

// An update the install step had to keep waits for a start; true when the step was started to
// finish it (the program then ends without a window, so that its files can be replaced).
bool FinishKeptUpdate() {
    if (!update::KeptUpdateWaits() ||
        platform::ShowMessageBox(nullptr, kKeptUpdateQuestion, engine::ProductName,
                                 MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    std::string folder = platform::ProgramFolderWithBackslash();
    folder.pop_back();
    return update::StartInstallStep(platform::text::Wide(folder));
}

}  // namespace

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
    const StartupFlags flags = ActOnCommandLine(commandLine);
    if (HandOverToRunningCopy()) {
        return false;
    }
    // The pages list the tasks from a snapshot: read during the splash, it is there when the
    // home page first counts.
    engine::RefreshLogonTaskSnapshot();
    PutStagedRenovixInPlace(platform::ProgramFolderWithBackslash());
    // Not at the start the install step makes itself ("-wnw"): a file still in use would
    // otherwise bring the question back at once, over and over.
    if (!flags.openWhatsNew && FinishKeptUpdate()) {
        return false;
    }

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
