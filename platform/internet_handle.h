#pragma once
// Owning wrapper for WinINet handles (sessions, connections, requests). Users link wininet.

#include "platform/unique_any.h"

#include <wininet.h>

namespace platform {

namespace traits {
struct hinternet {
    using type = HINTERNET;
    static type invalid() { return nullptr; }
    static void close(type h) { ::InternetCloseHandle(h); }
};
}  // namespace traits

using unique_hinternet = unique_any<traits::hinternet>;

}  // namespace platform
