#pragma once
// Opens an address of a link: the shell's "open" verb, else the browser registered for ".htm".

#include <functional>
#include <string>

namespace controls::html {

bool OpenAddress(const std::string& address);

// While an opener is installed (a test records what the browser would open), every address
// goes to it instead. Returns the opener installed before.
using AddressOpener = std::function<bool(const std::string&)>;
AddressOpener SetAddressOpener(AddressOpener opener);

}  // namespace controls::html
