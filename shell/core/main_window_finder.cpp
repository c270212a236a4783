#include "shell/core/main_window_finder.h"

#include "engine/product_name.h"

namespace shell {

HWND FindRunningMainWindow() {
    HWND found = nullptr;
    while ((found = ::FindWindowExA(nullptr, found, nullptr, engine::ProductName)) != nullptr) {
        if (::GetDlgItem(found, kMainWindowMarkId)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace shell
