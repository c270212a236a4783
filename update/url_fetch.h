#pragma once
// One synchronous web GET through WinINet, for the version check.

#include <string>

namespace update {

// The text FetchUrlText gives when WinINet cannot be opened at all.
inline constexpr char kInternetNotConnected[] = "Internet is not connected";

// The whole body of the answer as 8-bit text (a zero byte ends the text of the piece read with
// it). kInternetNotConnected when the internet layer cannot be opened; empty text when the
// address cannot be opened, the server answers with a status other than 200, or nothing can be
// read. Connecting, sending and receiving each give up after RequestTimeoutMs(), so a dead
// server ends the request instead of blocking the caller.
std::string FetchUrlText(const std::string& url);

}  // namespace update
