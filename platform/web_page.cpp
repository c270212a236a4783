#include "platform/web_page.h"

#include <windows.h>
#include <shellapi.h>

#include <mutex>
#include <utility>

namespace platform {

namespace {
std::mutex handlerLock;
WebPageHandler& Handler() {
    static WebPageHandler handler;
    return handler;
}
}  // namespace

bool OpenWebPage(const std::string& address) {
    WebPageHandler handler;
    {
        std::lock_guard lock(handlerLock);
        handler = Handler();
    }
    if (handler) {
        return handler(address);
    }
    // ShellExecute reports success with a value above 32.
    return reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "Open", address.c_str(), nullptr,
                                                     nullptr, SW_SHOWNORMAL)) > 32;
}

WebPageHandler SetWebPageHandler(WebPageHandler handler) {
    std::lock_guard lock(handlerLock);
    return std::exchange(Handler(), std::move(handler));
}

}  // namespace platform
