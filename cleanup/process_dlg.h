#pragma once
// CDlgProcessDlg: the progress of the automatic run. A worker switches the selected entries of
// the ScrapList off and reports each step; the dialog stores the run's status values, stays
// two seconds on screen and ends with IDOK. Nothing ends it early.

// Template and control ids; the resource script reads this part.
#define IDD_AUTOMATIC_RUN 138
#define IDC_AUTORUN_MESSAGE 1008
#define IDC_AUTORUN_PROGRESS 1044

#ifndef RC_INVOKED

#include "controls/base_dlg.h"
#include "platform/unique_any.h"

namespace cleanup {

class CDlgProcessDlg : public controls::DialogImpl<CDlgProcessDlg, controls::CBaseDlg> {
public:
    CDlgProcessDlg();
    static const controls::MessageTable<CDlgProcessDlg>& Messages();

    // Entries the run switched off; set when the run has finished.
    int fixedCount() const { return fixedCount_; }

    // How long the finished run stays on screen.
    static constexpr DWORD kFinishedPauseMs = 2000;

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    void OnStartTimer();
    LRESULT OnEntryStarted(WPARAM entry, LPARAM index);
    LRESULT OnRunFinished(WPARAM total, LPARAM fixed);
    void OnIgnoredCommand() {}
    // Keeps painting, and drops the user's input, for the given time.
    void PaintOnlyFor(DWORD milliseconds) const;

    static DWORD WINAPI Worker(void* scrapList);

    platform::unique_hfont messageFont_;
    int fixedCount_ = 0;
};

}  // namespace cleanup

#endif  // RC_INVOKED
