#pragma once
// One synchronous web GET through WinINet, for the version check.

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <string>

namespace update {

// Answers of the version endpoint are a few lines; a longer body is no answer.
inline constexpr size_t kMaxAnswerBytes = 256 * 1024;

// One web GET of the update service.
struct HttpRequest {
    const char* agent = "InetURL/1.0";
    DWORD accessType = INTERNET_OPEN_TYPE_DIRECT;
    DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE;
    DWORD pieceBytes = 1023;  // read at most this much at a time
    // Gets the body piece by piece; returns false to stop reading.
    std::function<bool(const char* bytes, size_t size)> receive;
};

enum class HttpOutcome {
    kNotConnected,  // the internet layer could not be opened
    kFailed,        // no connection, no answer, a status other than 200, or a read failed
    kStopped,       // the receiver stopped reading
    kDone,          // the whole body was handed on
};

// Connecting, sending and receiving each give up after RequestTimeoutMs().
HttpOutcome HttpGet(const std::string& url, const HttpRequest& request);

// The text FetchUrlText gives when WinINet cannot be opened at all.
inline constexpr char kInternetNotConnected[] = "Internet is not connected";

// The whole body of the answer as 8-bit text (a zero byte ends the text of the piece read with
// it). kInternetNotConnected when the internet layer cannot be opened; empty text when the
// address cannot be opened, the server answers with a status other than 200, or nothing can be
// read, or the body is longer than kMaxAnswerBytes. Connecting, sending and receiving each give up
// after RequestTimeoutMs(), so a dead server ends the request instead of blocking the caller.
// outcome, when given, gets how the request ended, so that a caller can tell a failed request
// from an empty answer.
std::string FetchUrlText(const std::string& url, DWORD accessType = INTERNET_OPEN_TYPE_DIRECT,
                         HttpOutcome* outcome = nullptr);

}  // namespace update
