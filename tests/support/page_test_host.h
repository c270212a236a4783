#pragma once
// A stand-in for the main window in page tests: a plain top-level window that holds pages as
// hidden children, registers itself as the page host and records every page switch.

#include "controls/dialog.h"
#include "controls/page_host.h"
#include "shell/layered_dlg.h"

#include <map>
#include <vector>

namespace testing_support {

class PageTestHost : public controls::PageHost {
public:
    PageTestHost(int clientWidth = 660, int clientHeight = 400);
    ~PageTestHost() override;
    PageTestHost(const PageTestHost&) = delete;
    PageTestHost& operator=(const PageTestHost&) = delete;

    // Creates page as a hidden child filling the client area, in slot index.
    bool Add(int index, controls::CDialog& page);

    HWND Window() const override { return window_; }
    int VisiblePage() const override { return visible_; }
    void SelectPage(int index) override;
    void SelectSettingsSubPage(int index) override { settingsSubPages.push_back(index); }
    controls::CDialog* Page(int index) override;
    INT_PTR RunInVeil(controls::CDialog* inner) override {
        return shell::RunInVeil(inner, window_);
    }

    // Every SelectPage and SelectSettingsSubPage call, in order.
    std::vector<int> selections;
    std::vector<int> settingsSubPages;

private:
    HWND window_ = nullptr;
    int visible_ = -1;
    std::map<int, controls::CDialog*> pages_;
};

// The client area of window as its own painting draws it (WM_PRINT: background and client,
// without the children), as 0x00RRGGBB.
struct Capture {
    int width = 0, height = 0;
    std::vector<unsigned> pixels;
    unsigned At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    // Pixels of exactly colour in the rectangle (client coordinates, clipped).
    int Count(COLORREF colour, const RECT& area) const;
};
Capture CaptureClient(HWND window);

// The pixels of an icon drawn at its size on white, for comparing icons.
std::vector<unsigned> IconPixels(HICON icon, int size = 32);

}  // namespace testing_support
