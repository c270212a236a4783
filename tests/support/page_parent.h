#pragma once
// A plain top-level window that a test makes the parent of a child page.

#include <windows.h>

namespace testing_support {

class PageParent {
public:
    PageParent();
    ~PageParent();
    PageParent(const PageParent&) = delete;
    PageParent& operator=(const PageParent&) = delete;
    HWND hwnd() const { return window_; }

private:
    HWND window_;
};

}  // namespace testing_support
