#pragma once
// The command that opens an address in the browser registered for ".htm", used when the
// shell cannot open the address itself.

#include <string>
#include <string_view>

namespace controls::html {

// The registered open command cut at "\"%1\"" or "%1" when present, a space and the address.
std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view address);

}  // namespace controls::html
