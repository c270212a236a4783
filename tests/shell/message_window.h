#pragma once
// A message-only window of the test thread that hands each message to a handler: it stands in
// for the main window the monitor reports to.

#include <windows.h>

#include <functional>
#include <utility>

namespace testing_support {

class MessageWindow {
public:
    // Returns true when it handled the message (the window then answers 1).
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;

    explicit MessageWindow(Handler handler) : handler_(std::move(handler)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelbrookTestMessages";
        ::RegisterClassA(&wc);
        window_ = ::CreateWindowA("VelbrookTestMessages", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageWindow() { ::DestroyWindow(window_); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND hwnd() const { return window_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && self->handler_(message, wParam, lParam)) {
            return 1;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    Handler handler_;
    HWND window_ = nullptr;
};

}  // namespace testing_support
