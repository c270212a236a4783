#include "update/renovix/update_dlg.h"

#include "platform/app_messages.h"
#include "platform/message_box.h"
#include "platform/own_module.h"
#include "res/art_ids.h"
#include "update/program_version.h"
#include "update/renovix/install_step.h"
#include "update/renovix/renovix_app.h"
#include "update/renovix/signature.h"
#include "update/renovix/update_dlg_ids.h"
#include "update/renovix/update_list.h"
#include "update/site_config.h"
#include "update/url_fetch.h"
#include "update/version_compare.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace renovix {

namespace {

constexpr UINT_PTR kStartTimer = 100;
constexpr COLORREF kLabelColour = RGB(54, 75, 90);
constexpr wchar_t kListFileName[] = L"updatetmp.tmp";
constexpr char kCaption[] = "Velbrook";
constexpr DWORD kDownloadPieceBytes = 512;
// Tries for a local name that is not taken yet.
constexpr int kNameTries = 100;

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

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = ::ExpandEnvironmentStringsW(L"%temp%", temp, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? temp : L"";
}

// The folder of the running program, without a trailing backslash.
std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    const size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(),
                          size, nullptr, nullptr);
    return narrow;
}

std::string RandomName() {
    static const char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyz1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string name;
    for (int i = 0; i < 10; ++i) {
        name += kAlphabet[std::rand() % 62];
    }
    return name;
}

bool WriteAll(HANDLE file, const char* bytes, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

std::wstring RundllPath() {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system, length < MAX_PATH ? length : 0) + L"\\rundll32.exe";
}

void DeleteListFile() {
    wchar_t temp[1024] = {};
    const DWORD length = ::GetTempPathW(1024, temp);
    if (length > 0 && length < 1024) {
        ::DeleteFileW((std::wstring(temp) + kListFileName).c_str());
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

LRESULT CUpdateDlg::OnFailed(WPARAM, LPARAM) {
    platform::ShowMessageBox(hwnd(),
                             "Error occurred while downloading update, check if your internet "
                             "connection is working fine.",
                             kCaption, MB_OK);
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
    StopPicture();
    EndDialog(IDCANCEL);
}

void CUpdateDlg::CloseUpdateDialog() {
    DeleteListFile();
    StopPicture();
    ShowItem(IDC_UPDATE_PICTURE, false);
    // The worker is not waited for: it stops touching the dialog and its files once this is
    // set, and a download in progress ends at its next piece.
    closed_ = true;
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

void CUpdateDlg::SetStatus(const std::wstring& text) {
    if (!closed_) {
        status_.SetText(text);
    }
}

void CUpdateDlg::ShowItem(UINT id, bool show) {
    if (!closed_ && hwnd()) {
        ::ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE);
    }
}

void CUpdateDlg::StopPicture() {
    // From either thread; the animation's own thread only draws and is waited for briefly.
    static std::mutex stopping;
    std::lock_guard lock(stopping);
    picture_.Stop();
}

void CUpdateDlg::ReportFailure() {
    DeleteDownloads();
    if (!closed_) {
        ::SendMessageW(hwnd(), platform::MSG_UPDATE_FAILED, 0, 0);
    }
}

void CUpdateDlg::ReportInfoError() {
    DeleteDownloads();
    if (!closed_) {
        StopPicture();
        ShowItem(IDC_UPDATE_PICTURE, false);
        SetStatus(L"Error occured while downloading info.");
    }
}

void CUpdateDlg::DeleteDownloads() {
    for (const auto& path : downloads_) {
        ::DeleteFileW(path.c_str());
        ::DeleteFileW((path + kSignatureSuffix).c_str());
    }
    downloads_.clear();
}

void CUpdateDlg::RunWorker() {
    if (picture_.Draw()) {
        ShowItem(IDC_UPDATE_PICTURE, true);
    }
    bool started = false;
    const std::string text = RequestVersionText(started);
    if (!started || closed_) {
        return;  // no internet layer: the dialog keeps its first text until it is closed
    }
    ::SendMessageW(hwnd(), platform::MSG_UPDATE_CONNECTING, 0, 0);
    if (text.empty() || closed_ || !ProcessVersionResponse(text) || closed_) {
        return;
    }
    StopPicture();
    ShowItem(IDC_UPDATE_PICTURE, false);
    asked_ = true;
    const int answer = platform::ShowMessageBox(hwnd(),
                                                "Latest program update has been successfully "
                                                "downloaded. Click Yes to install, No to ignore",
                                                kCaption, MB_YESNO | MB_ICONINFORMATION);
    if (answer != IDYES || closed_) {
        return;
    }
    const std::wstring parameters = L"\"" + ProgramFolder() + L"\\Renovix.dll\",InstallUpdates";
    // By its full path: a bare name is looked for in the current folder first.
    ::ShellExecuteW(nullptr, L"open", RundllPath().c_str(), parameters.c_str(), nullptr,
                    SW_SHOWNORMAL);
    // The install step replaces the program's files: nothing of this process may stay.
    ::TerminateProcess(::GetCurrentProcess(), 0);
}

std::string CUpdateDlg::RequestVersionText(bool& started) const {
    const std::string url = update::VersionCheckUrl();
    const std::wstring wideUrl = WideOf(url, CP_ACP);
    ::OutputDebugStringW(wideUrl.c_str());
    std::string text = update::FetchUrlText(url, INTERNET_OPEN_TYPE_PRECONFIG);
    started = text != update::kInternetNotConnected;
    return started ? text : std::string();
}

bool CUpdateDlg::ProcessVersionResponse(const std::string& text) {
    const AnswerHeader header = ReadAnswerHeader(text);
    if (header.outcome != AnswerHeader::kReady) {
        ReportFailure();
        return false;
    }
    SetStatus(L"Getting the required information...");
    ::Sleep(pauseMs_);
    const std::wstring programFolder = ProgramFolder();
    const std::string own = update::FileVersionText(Narrow(programFolder + L"\\Velbrook.exe"));
    if (!update::IsNewerVersion(own, header.latestVersion)) {
        StopPicture();
        ShowItem(IDC_UPDATE_PICTURE, false);
        SetStatus(L"Latest updates are already installed");
        ShowItem(IDC_UPDATE_OK, true);
        ShowItem(IDC_UPDATE_THANKS, true);
        return false;
    }
    std::vector<std::string> listed;
    for (int i = 0; i < header.fileCount; ++i) {
        const auto line = AnswerFileLine(text, i);
        if (!line) {
            ReportInfoError();
            return false;
        }
        const auto file = SplitFileLine(*line);
        std::string localName;
        if (!file || !DownloadUpdateFile(std::string(file->url), file->size, localName)) {
            ReportFailure();
            return false;
        }
        listed.push_back(std::string(*line) + "\t" + localName);
    }
    if (closed_) {
        DeleteDownloads();
        return false;
    }
    const std::string list = FormatUpdateList(Narrow(programFolder), listed);
    const std::wstring listPath = TempFolder() + L"\\" + kListFileName;
    platform::unique_hfile file(::CreateFileW(listPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !WriteAll(file.get(), list.data(), list.size())) {
        file.reset();
        ::DeleteFileW(listPath.c_str());
        ReportFailure();
        return false;
    }
    return true;
}

bool CUpdateDlg::DownloadUpdateFile(const std::string& url, unsigned long size,
                                    std::string& localName) {
    if (!IsAllowedDownloadUrl(url)) {
        return false;
    }
    const std::wstring folder = TempFolder();
    // The generator is never seeded, so names repeat from run to run: a name that is taken is
    // passed over rather than overwritten.
    platform::unique_hfile file;
    std::wstring path;
    for (int i = 0; i < kNameTries && !file; ++i) {
        localName = RandomName();
        path = folder + L"\\" + WideOf(localName, CP_ACP);
        file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!file) {
        return false;
    }
    downloads_.push_back(path);
    SetStatus(L"Downlading latest version of Velbrook");

    unsigned long received = 0;
    bool written = true;
    update::HttpRequest request;
    request.agent = "Renovix";
    request.accessType = INTERNET_OPEN_TYPE_PRECONFIG;
    request.flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY;
    request.pieceBytes = kDownloadPieceBytes;
    request.receive = [&](const char* bytes, size_t count) {
        if (closed_ || received + count > size || !WriteAll(file.get(), bytes, count)) {
            written = false;
            return false;
        }
        received += static_cast<unsigned long>(count);
        wchar_t progress[64];
        std::swprintf(progress, 64, L"Downloaded : %u KB of %u KB", received / 1024,
                      static_cast<unsigned>(size / 1024));
        SetStatus(progress);
        ::Sleep(10);
        return true;
    };
    const update::HttpOutcome outcome = update::HttpGet(url, request);
    file.reset();
    // Only a whole 200 answer of the announced size is a download.
    if (outcome != update::HttpOutcome::kDone || !written || received != size) {
        return false;
    }
    std::string signature;
    update::HttpRequest signatureRequest = request;
    signatureRequest.pieceBytes = 1023;
    signatureRequest.receive = [&](const char* bytes, size_t count) {
        signature.append(bytes, count);
        return signature.size() <= kSignatureBytes;
    };
    if (update::HttpGet(url + ".sig", signatureRequest) != update::HttpOutcome::kDone ||
        signature.size() != kSignatureBytes) {
        return false;
    }
    platform::unique_hfile signatureFile(::CreateFileW((path + kSignatureSuffix).c_str(),
                                                       GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!signatureFile || !WriteAll(signatureFile.get(), signature.data(), signature.size())) {
        return false;
    }
    signatureFile.reset();
    if (!IsFileSignedByMaker(path, path + kSignatureSuffix)) {
        return false;
    }
    SetStatus(L"Downladed latest version of Velbrook");
    return true;
}

}  // namespace renovix
