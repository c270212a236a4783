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

}  // namespace platform
