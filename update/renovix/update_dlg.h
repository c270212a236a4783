#pragma once
// CUpdateDlg: the update dialog. Once shown it starts a worker that runs the download job (the
// request, the downloads and their checks, the update list; update/renovix/download_job.h),
// shows what the job reports, asks whether to install and then hands over to the install step in
// rundll32 and ends the process.

#include "controls/dialog.h"
#include "controls/label.h"
#include "controls/picture_ex.h"
#include "controls/xp_button.h"
#include "platform/unique_any.h"
#include "update/renovix/download_job.h"
#include "update/renovix/dpi_layout.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace renovix {

class CUpdateDlg : public controls::DialogImpl<CUpdateDlg>, private DownloadJobEvents {
public:
    CUpdateDlg();
    ~CUpdateDlg() override;
    static const controls::MessageTable<CUpdateDlg>& Messages();

    bool WorkerStarted() const { return static_cast<bool>(worker_); }
    // The object is shared by whoever ran the window and the worker it started: each lets go
    // once, and the last deletes it. The creator holds it from the start.
    static void Release(CUpdateDlg* dialog);

    void CloseUpdateDialog();

    // For the tests: what the status label shows.
    std::wstring StatusText() const { return status_.text(); }
    // The time the worker waits at its pauses (1000 ms in a real run).
    void SetPauseMs(DWORD ms) { pauseMs_ = ms; }
    // The failure texts of the error box.
    static const char* FailureText(DownloadFailure failure);
    // True once the dialog has asked whether to install the downloaded update.
    bool AskedToInstall() const { return asked_; }
    // Ends once the worker has ended (tests only).
    bool WaitForWorker(DWORD ms) const;

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    LRESULT OnConnecting(WPARAM, LPARAM);
    LRESULT OnFailed(WPARAM, LPARAM);
    LRESULT OnStatusMessage(WPARAM text, LPARAM);
    LRESULT OnUpToDateMessage(WPARAM, LPARAM);
    LRESULT OnAnimation(WPARAM start, LPARAM);
    LRESULT OnDownloaded(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnStartTimer();
    void OnSystemClose();

    static DWORD WINAPI WorkerMain(void* self);
    void RunWorker();
    void ShowItem(UINT id, bool show);
    // From the worker: a message to the dialog's own thread while the dialog is open.
    void Tell(UINT message, WPARAM wParam);
    // What the job reports, on the worker's thread: each becomes a message.
    void OnStatus(const std::wstring& text) override;
    void OnConnecting() override;
    void OnUpToDate() override;
    void OnFailed(DownloadFailure failure) override;

    controls::CLabel status_;
    controls::CLabel thanks_;
    controls::CXPButton close_;
    controls::CXPButton ok_;
    controls::CPictureEx picture_;
    FixedDpiLayout layout_;
    platform::unique_hbitmap banner_;
    platform::unique_handle worker_;
    std::atomic<bool> closed_{false};
    DWORD pauseMs_ = 1000;
    std::unique_ptr<DownloadJob> job_;
    std::atomic<bool> asked_{false};
    std::atomic<int> holders_{1};
};

}  // namespace renovix
