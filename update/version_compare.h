#pragma once
// Ordering of version texts such as "1.0.10.0", shared by the program and Renovix.
// Window-free: it works on the bytes of the texts.

#include <string_view>

namespace update {

// Negative, zero or positive as a is lower than, equal to or higher than b.
// Dotted decimal texts compare number by number, missing parts counting as 0 ("2.0" equals
// "2.0.0.0"); when either side is anything else both compare as text, ignoring the case of
// ASCII letters, a text that is a prefix of the other being the lower.
int CompareVersions(std::string_view a, std::string_view b);

// Only a remote version that is higher counts as newer.
inline bool IsNewerVersion(std::string_view own, std::string_view remote) {
    return CompareVersions(own, remote) < 0;
}

}  // namespace update
