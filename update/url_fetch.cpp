#include "update/url_fetch.h"

#include "platform/internet_handle.h"
#include "update/site_config.h"

#include <initializer_list>
#include <string_view>

namespace update {

namespace {

void SetTimeouts(HINTERNET handle) {
    DWORD timeout = RequestTimeoutMs();
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        ::InternetSetOptionA(handle, option, &timeout, sizeof timeout);
    }
}

// Only a 200 answer carries the text asked for; an error page must not be read as one.
bool IsStatusOk(HINTERNET request) {
    DWORD status = 0;
    DWORD length = sizeof status;
    return ::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &length, nullptr) &&
           status == HTTP_STATUS_OK;
}

struct UrlParts {
    std::string host;
    INTERNET_PORT port = 0;
    std::string pathAndQuery;
    bool secure = false;
};

bool CrackUrl(const std::string& url, UrlParts& parts) {
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
    char path[INTERNET_MAX_URL_LENGTH] = {};
    char extra[INTERNET_MAX_URL_LENGTH] = {};
    URL_COMPONENTSA components{};
    components.dwStructSize = sizeof components;
    components.lpszHostName = host;
    components.dwHostNameLength = sizeof host;
    components.lpszUrlPath = path;
    components.dwUrlPathLength = sizeof path;
    components.lpszExtraInfo = extra;
    components.dwExtraInfoLength = sizeof extra;
    if (!::InternetCrackUrlA(url.c_str(), 0, 0, &components) ||
        (components.nScheme != INTERNET_SCHEME_HTTP &&
         components.nScheme != INTERNET_SCHEME_HTTPS)) {
        return false;
    }
    parts.host = host;
    parts.port = components.nPort;
    parts.pathAndQuery = std::string(*path ? path : "/") + extra;
    parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

}  // namespace

HttpOutcome HttpGet(const std::string& url, const HttpRequest& request) {
    platform::unique_hinternet session(
        ::InternetOpenA(request.agent, request.accessType, nullptr, nullptr, 0));
    if (!session) {
        return HttpOutcome::kNotConnected;
    }
    // The address is opened step by step rather than with InternetOpenUrl so that the
    // time-outs can be set on the connection and the request themselves: Wine's WinINet does
    // not hand the session's send and receive time-outs on to them.
    UrlParts parts;
    if (!CrackUrl(url, parts)) {
        return HttpOutcome::kFailed;
    }
    SetTimeouts(session.get());
    platform::unique_hinternet connection(::InternetConnectA(session.get(), parts.host.c_str(),
                                                             parts.port, nullptr, nullptr,
                                                             INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return HttpOutcome::kFailed;
    }
    SetTimeouts(connection.get());
    const DWORD flags = request.flags | (parts.secure ? INTERNET_FLAG_SECURE : 0);
    platform::unique_hinternet opened(::HttpOpenRequestA(
        connection.get(), "GET", parts.pathAndQuery.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!opened) {
        return HttpOutcome::kFailed;
    }
    SetTimeouts(opened.get());
    if (!::HttpSendRequestA(opened.get(), nullptr, 0, nullptr, 0) || !IsStatusOk(opened.get())) {
        return HttpOutcome::kFailed;
    }
    std::string piece(request.pieceBytes, '\0');
    while (true) {
        DWORD read = 0;
        if (!::InternetReadFile(opened.get(), piece.data(), request.pieceBytes, &read)) {
            return HttpOutcome::kFailed;
        }
        if (read == 0) {
            return HttpOutcome::kDone;
        }
        if (!request.receive(piece.data(), read)) {
            return HttpOutcome::kStopped;
        }
    }
}

std::string FetchUrlText(const std::string& url, DWORD accessType, HttpOutcome* outcome) {
    std::string text;
    size_t received = 0;
    HttpRequest request;
    request.accessType = accessType;
    request.receive = [&](const char* bytes, size_t size) {
        received += size;
        // A zero byte ends the text of the piece read with it.
        text.append(bytes, std::string_view(bytes, size).find('\0') == std::string_view::npos
                               ? size
                               : std::string_view(bytes, size).find('\0'));
        return received <= kMaxAnswerBytes;
    };
    const HttpOutcome ended = HttpGet(url, request);
    if (outcome) {
        *outcome = ended;
    }
    switch (ended) {
    case HttpOutcome::kNotConnected: return kInternetNotConnected;
    case HttpOutcome::kStopped: return {};
    default: return text;  // a read that fails keeps what arrived before it
    }
}

}  // namespace update
