#pragma once
// Opens an address of a link: the shell's "open" verb, else the browser registered for ".htm".

#include <string>

namespace controls::html {

bool OpenAddress(const std::string& address);

}  // namespace controls::html
