#pragma once
// Every message box of the program goes through ShowMessageBox, so that the console
// program can print the message instead and tests can read and answer it.

#include <windows.h>

#include <functional>
#include <string>

namespace platform {

struct MessageBoxRequest {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;  // MB_* flags as for MessageBoxA
};

// Returns the button chosen (IDOK, IDYES, ...).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// While a handler is installed it answers every message box instead of the user.
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;
// Returns the handler that was installed before.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform
