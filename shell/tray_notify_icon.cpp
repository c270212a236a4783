#include "shell/tray_notify_icon.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstring>

namespace shell {

namespace {

NotifyRecordKind AskShellVersion() {
    platform::unique_hmodule shell32(::LoadLibraryA("shell32.dll"));
    if (!shell32) {
        return NotifyRecordKind::kVersion1;
    }
    const auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(shell32.get(), "DllGetVersion")));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (!getVersion || FAILED(getVersion(&info))) {
        return NotifyRecordKind::kVersion1;
    }
    return NotifyRecordKindFor(info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
}

}  // namespace

CTrayNotifyIcon::CTrayNotifyIcon() : taskbarCreated_(::RegisterWindowMessageA("TaskbarCreated")) {}

CTrayNotifyIcon::~CTrayNotifyIcon() {
    DeleteFromShell();
    if (hidden_) {
        ::DestroyWindow(hidden_);
        ::UnregisterClassA(className_.c_str(), ::GetModuleHandle(nullptr));
    }
}

UINT CTrayNotifyIcon::recordSize() const {
    switch (kind_) {
    case NotifyRecordKind::kFull: return sizeof(NOTIFYICONDATAA);
    case NotifyRecordKind::kVersion3: return NOTIFYICONDATAA_V3_SIZE;
    case NotifyRecordKind::kVersion2: return NOTIFYICONDATAA_V2_SIZE;
    case NotifyRecordKind::kVersion1: break;
    }
    return NOTIFYICONDATAA_V1_SIZE;
}

bool CTrayNotifyIcon::CreateHiddenWindow() {
    if (hidden_) {
        return true;
    }
    char name[64];
    std::snprintf(name, sizeof name, "VelbrookTray%08lx%p", ::GetCurrentProcessId(),
                  static_cast<void*>(this));
    className_ = name;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HiddenWindowProc;
    windowClass.hInstance = ::GetModuleHandle(nullptr);
    windowClass.lpszClassName = className_.c_str();
    if (!::RegisterClassA(&windowClass)) {
        return false;
    }
    hidden_ = ::CreateWindowA(className_.c_str(), "SystemTrayIconClass", WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, windowClass.hInstance, this);
    return hidden_ != nullptr;
}

bool CTrayNotifyIcon::Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip) {
    // Asked on the first use: loading the shell library is slow under Wine.
    if (!kindKnown_) {
        kind_ = AskShellVersion();
        kindKnown_ = true;
    }
    CreateHiddenWindow();
    DeleteFromShell();
    icon_.reset(icon ? ::CopyIcon(icon) : nullptr);
    std::memset(&record_, 0, sizeof record_);
    record_.cbSize = recordSize();
    record_.hWnd = owner;
    record_.uID = kTrayIconId;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = callbackMessage;
    record_.hIcon = icon_.get();
    // The first record has room for 64 characters only.
    const size_t room = kind_ == NotifyRecordKind::kVersion1 ? 63 : 127;
    std::strncpy(record_.szTip, tip.c_str(), room);
    wanted_ = true;
    return AddToShell();
}

void CTrayNotifyIcon::Remove() {
    wanted_ = false;
    DeleteFromShell();
}

bool CTrayNotifyIcon::AddToShell() {
    added_ = ::Shell_NotifyIconA(NIM_ADD, &record_) != FALSE;
    if (added_ && kind_ != NotifyRecordKind::kVersion1) {
        NOTIFYICONDATAA version = record_;
        version.uVersion = NOTIFYICON_VERSION;
        ::Shell_NotifyIconA(NIM_SETVERSION, &version);
    }
    return added_;
}

void CTrayNotifyIcon::DeleteFromShell() {
    if (added_) {
        ::Shell_NotifyIconA(NIM_DELETE, &record_);
        added_ = false;
    }
}

void CTrayNotifyIcon::OnShellRestarted() {
    if (!wanted_) {
        return;
    }
    DeleteFromShell();
    AddToShell();
}

LRESULT CALLBACK CTrayNotifyIcon::HiddenWindowProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtr(window, GWLP_USERDATA,
                           reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CTrayNotifyIcon*>(::GetWindowLongPtr(window, GWLP_USERDATA));
    if (self && message == self->taskbarCreated_) {
        self->OnShellRestarted();
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtr(window, GWLP_USERDATA, 0);
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace shell
