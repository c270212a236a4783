#include "tests/support/page_parent.h"

namespace testing_support {

PageParent::PageParent()
    : window_(::CreateWindowExA(0, "STATIC", "Page parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                0, 0, 800, 500, nullptr, nullptr, ::GetModuleHandle(nullptr),
                                nullptr)) {}

PageParent::~PageParent() { ::DestroyWindow(window_); }

}  // namespace testing_support
