#pragma once
// Web pages and mail links open with the shell's "Open" verb, shown normally. While a handler
// is installed (tests) it receives the address instead, so nothing is opened.

#include <functional>
#include <string>

namespace platform {

// True when the shell (or the handler) took the address; callers ignore a failure.
bool OpenWebPage(const std::string& address);

using WebPageHandler = std::function<bool(const std::string& address)>;
// Returns the handler installed before.
WebPageHandler SetWebPageHandler(WebPageHandler handler);

// Opens the page through the desktop's own shell (IShellDispatch2::ShellExecute of its shell
// view), so that the browser runs with the rights of the desktop's user and not those of this
// elevated process; false, and nothing opened, when no desktop shell answers. While a desktop
// handler is installed (tests) it receives the address instead.
bool OpenWebPageUnelevated(const std::string& address);
WebPageHandler SetDesktopShellHandler(WebPageHandler handler);

}  // namespace platform
