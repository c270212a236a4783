#pragma once
// How pages, and the dialogs they open, reach the main window without depending on it: the
// main window registers itself as the page host while it exists; a page asks for it and does
// nothing when there is none (a page that a test runs on its own).

#include <windows.h>

namespace controls {

class CDialog;

// The main window's pages, in the order of its page table.
enum PageIndex : int {
    kHomePage = 0,
    kWindowsStartupsPage = 1,
    kTabSettingsPage = 2,
    kAboutPage = 3,
    kManualFixPage = 4,
};

// The tab-settings page's child pages.
enum SettingsSubPage : int {
    kSettingsSubPage = 0,
    kIgnoreListSubPage = 1,
    kHistorySubPage = 2,
};

class PageHost {
public:
    virtual ~PageHost() = default;
    // The main window.
    virtual HWND Window() const = 0;
    // The index of the visible page, -1 before the first selection.
    virtual int VisiblePage() const = 0;
    // Shows page index (-1 does nothing), hides the one shown before.
    virtual void SelectPage(int index) = 0;
    // Selects a child page of the tab-settings page (as a click on its button).
    virtual void SelectSettingsSubPage(int index) = 0;
    // The page object at index, or null where that slot has no page. The main window makes a
    // page's window on its first use, here or by SelectPage.
    virtual controls::CDialog* Page(int index) = 0;
    // Reads the setting "systray" (missing = 1) and adds or removes the tray icon to match.
    virtual void ApplyTraySetting() {}
    // Runs inner modally inside the veil over the main window; IDOK when inner ended with IDOK,
    // IDCANCEL otherwise.
    virtual INT_PTR RunInVeil(CDialog* inner) = 0;
};

// The registered host, or null.
PageHost* CurrentPageHost();
void SetPageHost(PageHost* host);

// SelectPage(index) on the host unless that page is already visible; nothing without a host.
void ShowPage(int index);

// RunInVeil(inner) on the host; without a host, inner runs modally over owner.
INT_PTR RunInVeil(CDialog* inner, HWND owner);

}  // namespace controls
