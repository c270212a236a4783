#pragma once
// The icon in the notification area: its record sized for the shell library at hand, a hidden
// window that hears the shell's broadcasts, and the re-adding after the shell has restarted.

#define IDR_TRAY_MENU 143
#define ID_TRAY_EXIT 32771
#define ID_TRAY_LAUNCH 32772
#define ID_TRAY_VISIT_WEBSITE 32774

#ifndef RC_INVOKED
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/unique_any.h"
#include "shell/core/tray_record_size.h"

namespace shell {

inline constexpr UINT kTrayIconId = IDR_TRAY_MENU;

class CTrayNotifyIcon {
public:
    CTrayNotifyIcon();
    ~CTrayNotifyIcon();
    CTrayNotifyIcon(const CTrayNotifyIcon&) = delete;
    CTrayNotifyIcon& operator=(const CTrayNotifyIcon&) = delete;

    // Adds the icon for owner: clicks come to owner as callbackMessage with the mouse message
    // in lParam. The icon handle is copied. False when the shell refused it; the icon is still
    // wanted and comes back when the shell (re)starts.
    bool Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip);
    // Deletes the icon and stops wanting it.
    void Remove();
    bool added() const { return added_; }
    bool wanted() const { return wanted_; }
    // The record's kind for the shell library at hand; known from the first Add on.
    NotifyRecordKind recordKind() const { return kind_; }
    UINT recordSize() const;
    // The hidden window that receives "TaskbarCreated".
    HWND broadcastWindow() const { return hidden_; }

private:
    static LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    bool CreateHiddenWindow();
    bool AddToShell();
    void DeleteFromShell();
    void OnShellRestarted();

    NotifyRecordKind kind_ = NotifyRecordKind::kVersion1;
    bool kindKnown_ = false;
    NOTIFYICONDATAA record_{};
    platform::unique_hicon icon_;
    HWND hidden_ = nullptr;
    std::string className_;
    UINT taskbarCreated_;
    bool added_ = false;
    bool wanted_ = false;
};

}  // namespace shell
#endif
