#include "update/renovix_loader.h"

#include "platform/message_box.h"
#include "platform/module_path.h"
#include "platform/unique_any.h"

#include <cstdio>

namespace update {

namespace {

// Never destroyed: freeing the library while the process ends could pull code away from a
// download thread of Renovix that is still running.
platform::unique_hmodule& Renovix() {
    static auto* module = new platform::unique_hmodule;
    return *module;
}

void LoadRenovixIfNeeded() {
    if (Renovix()) {
        return;
    }
    const std::string folder = platform::ProgramFolderWithBackslash();
    if (folder.empty()) {
        return;
    }
    const std::string path = folder + "Renovix.dll";
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        Renovix().reset(::LoadLibraryA(path.c_str()));
    }
}

}  // namespace

void RunUpdateDialog() {
    LoadRenovixIfNeeded();
    using ShowMainDialogFirstFn = int (*)();
    const auto show = Renovix() ? reinterpret_cast<ShowMainDialogFirstFn>(reinterpret_cast<void*>(
                                      ::GetProcAddress(Renovix().get(), "ShowMainDialogFirst")))
                                : nullptr;
    if (!show) {
        // A library without the export is of no use; unloading it lets a repaired copy load.
        Renovix().reset();
        std::fputs("Message printed from executable\n", stdout);
        std::fflush(stdout);
        // The line alone reaches nobody in a windowed program: the veil flashed and nothing
        // was said.
        platform::ShowMessageBox(::GetActiveWindow(), kRenovixMissing, "Velbrook",
                                 MB_OK | MB_ICONERROR);
        return;
    }
    if (show() == 1) {
        Renovix().reset();
    }
}

}  // namespace update
