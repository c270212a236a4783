#pragma once
// CRenovixApp: the library-wide state of Renovix: the settings key, the one open update dialog
// and the download-running flag that IsUpdation reports.

#include <atomic>

namespace renovix {

class CUpdateDlg;

class CRenovixApp {
public:
    static CRenovixApp& Instance();

    std::atomic<CUpdateDlg*> openDialog{nullptr};
    std::atomic<int> downloadRunning{0};
};

// The exports' behaviour, callable from the tests.
// Runs the update dialog modally unless one is open (0); its modal result otherwise.
int ShowUpdateDialog();
// 0 while a dialog is open, else the download-running flag.
int IsUpdating();

}  // namespace renovix
