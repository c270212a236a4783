#include "update/kept_update.h"
#include "update/renovix/update_dlg.h"

#include "platform/app_messages.h"
#include "platform/message_box.h"
#include "platform/own_module.h"
#include "res/art_ids.h"
#include "update/renovix/renovix_app.h"
#include "update/install_step_start.h"
#include "update/renovix/update_dlg_ids.h"

namespace renovix {

namespace {

constexpr UINT_PTR kStartTimer = 100;
constexpr COLORREF kLabelColour = RGB(54, 75, 90);
constexpr char kCaption[] = "Velbrook";

// Space and Escape never reach the dialog: neither presses the focused button nor cancels.
thread_local HWND keyDialog = nullptr;
thread_local HHOOK keyHook = nullptr;

LRESULT CALLBACK SwallowKeys(int code, WPARAM removal, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && keyDialog && message->message == WM_KEYDOWN &&
        (message->wParam == VK_SPACE || message->wParam == VK_ESCAPE) &&
        (message->hwnd == keyDialog || ::IsChild(keyDialog, message->hwnd))) {
        message->message = WM_NULL;
    }
    return ::CallNextHookEx(keyHook, code, removal, lParam);
}

void DeleteListFile() {
    wchar_t temp[1024] = {};
    const DWORD length = ::GetTempPathW(1024, temp);
    if (length > 0 && length < 1024) {
        ::DeleteFileW((std::wstring(temp) + update::kUpdateListName).c_str());
    }
}

}  // namespace

CUpdateDlg::CUpdateDlg()
    : DialogImpl(IDD_UPDATE),
      close_(controls::CXPButton::kStretched),
      ok_(controls::CXPButton::kStretched) {}

CUpdateDlg::~CUpdateDlg() = default;

const controls::MessageTable<CUpdateDlg>& CUpdateDlg::Messages() {
    static const controls::MessageTable<CUpdateDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CUpdateDlg::OnInitDialog),
        controls::OnMessage(WM_SHOWWINDOW, &CUpdateDlg::OnShowWindow),
        controls::OnMessage(WM_ERASEBKGND, &CUpdateDlg::OnEraseBackground),
        controls::OnMessage(platform::MSG_UPDATE_CONNECTING, &CUpdateDlg::OnConnecting),
        controls::OnMessage(platform::MSG_UPDATE_FAILED, &CUpdateDlg::OnFailed),
        controls::OnMessage(platform::MSG_UPDATE_STATUS, &CUpdateDlg::OnStatusMessage),
        controls::OnMessage(platform::MSG_UPDATE_UP_TO_DATE, &CUpdateDlg::OnUpToDateMessage),
        controls::OnMessage(platform::MSG_UPDATE_ANIMATION, &CUpdateDlg::OnAnimation),
        controls::OnMessage(platform::MSG_UPDATE_DOWNLOADED, &CUpdateDlg::OnDownloaded),
        controls::OnMessage(WM_DESTROY, &CUpdateDlg::OnDestroy),
        controls::OnTimer(kStartTimer, &CUpdateDlg::OnStartTimer),
        controls::OnCommand(IDC_UPDATE_CLOSE, &CUpdateDlg::CloseUpdateDialog),
        controls::OnCommand(IDC_UPDATE_OK, &CUpdateDlg::CloseUpdateDialog),
        controls::OnCommand(IDCANCEL, &CUpdateDlg::OnSystemClose),
    };
    return table;
}

LRESULT CUpdateDlg::OnInitDialog(WPARAM, LPARAM) {
    layout_.Apply(hwnd(), platform::OwnModule(), IDD_UPDATE);
    keyDialog = hwnd();
    keyHook = ::SetWindowsHookExW(WH_GETMESSAGE, SwallowKeys, nullptr, ::GetCurrentThreadId());
    banner_.reset(static_cast<HBITMAP>(::LoadImageW(platform::OwnModule(),
                                                    MAKEINTRESOURCEW(art::kUpdateBannerBitmap),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    for (auto* label : {&status_, &thanks_}) {
        label->SubclassDlgItem(label == &status_ ? IDC_UPDATE_STATUS : IDC_UPDATE_THANKS, hwnd());
        label->SetTransparent(true).SetFontName(L"Arial").SetFontSize(10).SetTextColor(
            kLabelColour);
    }
    thanks_.SetText(L"Thank You For Using Velbrook");
    ShowItem(IDC_UPDATE_THANKS, false);
    status_.SetText(L"Checking for updates");
    picture_.SubclassDlgItem(IDC_UPDATE_PICTURE, hwnd());
    picture_.SetBkColor(RGB(255, 255, 255));
    picture_.Load(art::kDownloadAnimation);
    ShowItem(IDC_UPDATE_PICTURE, false);
    close_.SubclassDlgItem(IDC_UPDATE_CLOSE, hwnd());
    close_.SetBitmaps(art::kUpdateClose);
    ok_.SubclassDlgItem(IDC_UPDATE_OK, hwnd());
    ok_.SetBitmaps(art::kUpdateOk);
    ShowItem(IDC_UPDATE_OK, false);
    // The template is visible from its creation on, before this handler could see it shown.
    if (::IsWindowVisible(hwnd())) {
        OnShowWindow(TRUE, 0);
    }
    return TRUE;
}

LRESULT CUpdateDlg::OnShowWindow(WPARAM shown, LPARAM) {
    if (shown) {
        ShowItem(IDC_UPDATE_OK, false);
        SetTimer(kStartTimer, 1000);
    }
    return 0;
}

LRESULT CUpdateDlg::OnEraseBackground(WPARAM wParam, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (banner_) {
        BITMAP info{};
        ::GetObjectW(banner_.get(), sizeof info, &info);
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, banner_.get());
        ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    return 1;
}

LRESULT CUpdateDlg::OnConnecting(WPARAM, LPARAM) {
    status_.SetText(L"Connecting\u2026Please wait");
    ::Sleep(pauseMs_);
    return 0;
}

const char* CUpdateDlg::FailureText(DownloadFailure failure) {
    switch (failure) {
    case DownloadFailure::kNoConnection:
        return "Unable to connect to the update server. Please check your Internet connection.";
    case DownloadFailure::kEmptyAnswer:
        return "The update server sent an empty answer. Please try again later.";
    case DownloadFailure::kNoStatement:
        return "The update server did not send a signed release statement, so this update can't "
               "be checked and won't be installed. Please try again later.";
    case DownloadFailure::kNotNewer:
    case DownloadFailure::kNotInStatement:
        return "The update offered is not a newer signed release of Velbrook, so it won't be "
               "installed.";
    default:
        return "Error occurred while downloading update, check if your internet connection is "
               "working fine.";
    }
}

LRESULT CUpdateDlg::OnStatusMessage(WPARAM text, LPARAM) {
    status_.SetText(*reinterpret_cast<const std::wstring*>(text));
    return 0;
}

LRESULT CUpdateDlg::OnUpToDateMessage(WPARAM, LPARAM) {
    OnAnimation(0, 0);
    status_.SetText(L"Latest updates are already installed");
    ShowItem(IDC_UPDATE_OK, true);
    ShowItem(IDC_UPDATE_THANKS, true);
    return 0;
}

LRESULT CUpdateDlg::OnAnimation(WPARAM start, LPARAM) {
    if (start) {
        ShowItem(IDC_UPDATE_PICTURE, picture_.Draw());
    } else {
        picture_.Stop();
        ShowItem(IDC_UPDATE_PICTURE, false);
    }
    return 0;
}

LRESULT CUpdateDlg::OnDownloaded(WPARAM, LPARAM) {
    OnAnimation(0, 0);
    asked_ = true;
    const int answer = platform::ShowMessageBox(hwnd(),
                                                "Latest program update has been successfully "
                                                "downloaded. Click Yes to install, No to ignore",
                                                kCaption, MB_YESNO | MB_ICONINFORMATION);
    if (answer != IDYES || closed_) {
        // Nothing of this run stays in the temporary folder (the worker waits for this answer).
        job_->DeleteDownloads();
        return 0;
    }
    update::StartInstallStep(DefaultDownloadJobSettings().programFolder);
    // The install step replaces the program's files: nothing of this process may stay.
    ::TerminateProcess(::GetCurrentProcess(), 0);
    return 0;
}

LRESULT CUpdateDlg::OnFailed(WPARAM failure, LPARAM) {
    OnAnimation(0, 0);
    platform::ShowMessageBox(hwnd(), FailureText(static_cast<DownloadFailure>(failure)), kCaption,
                             MB_OK);
    CloseUpdateDialog();
    return 0;
}

LRESULT CUpdateDlg::OnDestroy(WPARAM, LPARAM) {
    closed_ = true;
    if (keyHook) {
        ::UnhookWindowsHookEx(keyHook);
        keyHook = nullptr;
        keyDialog = nullptr;
    }
    layout_.Restore();
    return 0;
}

void CUpdateDlg::OnStartTimer() {
    KillTimer(kStartTimer);
    if (worker_) {
        return;
    }
    CRenovixApp::Instance().downloadRunning = 1;
    DownloadJobSettings settings = DefaultDownloadJobSettings();
    settings.pauseMs = pauseMs_;
    job_ =
        std::make_unique<DownloadJob>(static_cast<DownloadJobEvents&>(*this), std::move(settings));
    ++holders_;
    worker_.reset(::CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr));
    if (!worker_) {
        --holders_;
    }
}

void CUpdateDlg::Release(CUpdateDlg* dialog) {
    if (--dialog->holders_ == 0) {
        delete dialog;
    }
}

void CUpdateDlg::OnSystemClose() {
    // The system menu's Close and Alt+F4: the dialog ends with 2; a running worker goes on
    // without it and the flag stays set.
    closed_ = true;
    if (job_) {
        job_->Cancel();
    }
    picture_.Stop();
    EndDialog(IDCANCEL);
}

void CUpdateDlg::CloseUpdateDialog() {
    DeleteListFile();
    OnAnimation(0, 0);
    // The worker is not waited for: it stops touching the dialog and its files once this is
    // set, and a download in progress ends at its next piece.
    closed_ = true;
    if (job_) {
        job_->Cancel();
    }
    CRenovixApp::Instance().downloadRunning = 0;
    ::Sleep(100);
    EndDialog(1);
}

bool CUpdateDlg::WaitForWorker(DWORD ms) const {
    return !worker_ || ::WaitForSingleObject(worker_.get(), ms) == WAIT_OBJECT_0;
}

DWORD WINAPI CUpdateDlg::WorkerMain(void* self) {
    // Inside Renovix the worker keeps the library loaded until it has ended, even when
    // Velbrook frees it as the dialog returns.
    HMODULE pinned = nullptr;
    if (platform::OwnModule() != ::GetModuleHandleW(nullptr)) {
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                             reinterpret_cast<LPCWSTR>(&CUpdateDlg::WorkerMain), &pinned);
    }
    static_cast<CUpdateDlg*>(self)->RunWorker();
    Release(static_cast<CUpdateDlg*>(self));
    if (pinned) {
        ::FreeLibraryAndExitThread(pinned, 0);
    }
    return 0;
}

void CUpdateDlg::ShowItem(UINT id, bool show) {
    if (!closed_ && hwnd()) {
        ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE);
    }
}

void CUpdateDlg::Tell(UINT message, WPARAM wParam) {
    // Sent, so that a borrowed text outlives the call; a window already gone answers nothing.
    if (!closed_) {
        ::SendMessageW(hwnd(), message, wParam, 0);
    }
}

void CUpdateDlg::OnStatus(const std::wstring& text) {
    Tell(platform::MSG_UPDATE_STATUS, reinterpret_cast<WPARAM>(&text));
}

void CUpdateDlg::OnConnecting() { Tell(platform::MSG_UPDATE_CONNECTING, 0); }

void CUpdateDlg::OnUpToDate() { Tell(platform::MSG_UPDATE_UP_TO_DATE, 0); }

void CUpdateDlg::OnFailed(DownloadFailure failure) {
    if (failure == DownloadFailure::kMissingFileLine) {
        Tell(platform::MSG_UPDATE_ANIMATION, 0);
        OnStatus(L"Error occured while downloading info.");
        return;
    }
    Tell(platform::MSG_UPDATE_FAILED, static_cast<WPARAM>(failure));
}

void CUpdateDlg::RunWorker() {
    Tell(platform::MSG_UPDATE_ANIMATION, 1);
    if (!job_->Run() || closed_) {
        return;
    }
    Tell(platform::MSG_UPDATE_DOWNLOADED, 0);
    if (!asked_) {
        // The dialog closed before it could ask: nothing of this run stays in the temporary
        // folder.
        job_->DeleteDownloads();
    }
}

}  // namespace renovix
