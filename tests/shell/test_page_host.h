#pragma once
// A page host standing in for the main window: a hidden top-level window, and a record of
// what the pages asked of it.

#include "controls/page_host.h"
#include "shell/layered_dlg.h"

#include <vector>

namespace testing_support {

class TestPageHost : public controls::PageHost {
public:
    TestPageHost() {
        window_ = ::CreateWindowExA(0, "STATIC", "Velbrook", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                    nullptr, nullptr, nullptr, nullptr);
        controls::SetPageHost(this);
    }
    ~TestPageHost() override {
        controls::SetPageHost(nullptr);
        ::DestroyWindow(window_);
    }
    HWND Window() const override { return window_; }
    int VisiblePage() const override { return visible_; }
    void SelectPage(int index) override {
        selected.push_back(index);
        visible_ = index;
    }
    void SelectSettingsSubPage(int) override {}
    controls::CDialog* Page(int) override { return nullptr; }
    void ApplyTraySetting() override { ++trayApplied; }
    INT_PTR RunInVeil(controls::CDialog* inner) override {
        return shell::RunInVeil(inner, window_);
    }

    std::vector<int> selected;
    int trayApplied = 0;

private:
    HWND window_ = nullptr;
    int visible_ = 0;
};

}  // namespace testing_support
