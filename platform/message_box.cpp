#include "platform/message_box.h"

#include <mutex>
#include <utility>

namespace platform {

namespace {
std::mutex handlerLock;
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}
}  // namespace

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    MessageBoxHandler handler;
    {
        std::lock_guard lock(handlerLock);
        handler = Handler();
    }
    if (handler) {
        return handler(MessageBoxRequest{owner, text, caption, type});
    }
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(handlerLock);
    return std::exchange(Handler(), std::move(handler));
}

}  // namespace platform
