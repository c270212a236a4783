// The update download of 4 MiB from a loopback server against one plain WinINet read of the same
// file: the job's pieces, its file writes and its progress texts are all it may add. The whole
// download with the signature's fetch and check is printed beside it. The sides run
// interleaved, several times, in one run; each prints its median and spread.
#include "update/renovix/download_job.h"

#include <winsock2.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr size_t kFileBytes = 4u << 20;
constexpr int kRounds = 15;

// A minimal HTTP/1.0 server on 127.0.0.1: "/f" is the file, "/f.sig" 64 bytes.
class LoopbackServer {
public:
    LoopbackServer() : body_(kFileBytes, '\0') {
        for (size_t i = 0; i < body_.size(); ++i) {
            body_[i] = static_cast<char>(i * 7919 % 251);
        }
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 8);
        int length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        ::closesocket(listener_);
        thread_.join();
        ::WSACleanup();
    }
    std::string Url(const char* path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    void Serve() {
        for (;;) {
            SOCKET client = ::accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) {
                return;
            }
            std::string request;
            char buffer[4096];
            int got = 0;
            while (request.find("\r\n\r\n") == std::string::npos &&
                   (got = ::recv(client, buffer, sizeof buffer, 0)) > 0) {
                request.append(buffer, static_cast<size_t>(got));
            }
            const bool signature = request.find(".sig ") != std::string::npos;
            const std::string sent = signature ? std::string(64, 'S') : body_;
            const std::string head =
                "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(sent.size()) + "\r\n\r\n";
            ::send(client, head.data(), static_cast<int>(head.size()), 0);
            for (size_t at = 0; at < sent.size();) {
                const int n =
                    ::send(client, sent.data() + at,
                           static_cast<int>(std::min<size_t>(sent.size() - at, 1 << 16)), 0);
                if (n <= 0) {
                    break;
                }
                at += static_cast<size_t>(n);
            }
            ::shutdown(client, SD_SEND);
            ::closesocket(client);
        }
    }

    std::string body_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::thread thread_;
};

struct Quiet : renovix::DownloadJobEvents {
    void OnStatus(const std::wstring&) override {}
    void OnConnecting() override {}
    void OnUpToDate() override {}
    void OnFailed(renovix::DownloadFailure) override {}
};

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

template <typename F>
double Time(F&& f) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    f();
    ::QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

size_t PlainRead(const std::string& url) {
    size_t total = 0;
    HINTERNET session = ::InternetOpenA("bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET file = ::InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                                        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    std::vector<char> buffer(kFileBytes);
    DWORD read = 0;
    while (file &&
           ::InternetReadFile(file, buffer.data() + total,
                              static_cast<DWORD>(buffer.size() - total), &read) &&
           read > 0) {
        total += read;
        if (total == buffer.size()) {
            break;
        }
    }
    ::InternetCloseHandle(file);
    ::InternetCloseHandle(session);
    return total;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    LoopbackServer server;
    const std::string url = server.Url("/f");
    Quiet events;
    renovix::DownloadJobSettings settings = renovix::DefaultDownloadJobSettings();
    const std::wstring transferPath = settings.tempFolder + L"\\download-bench";
    std::vector<double> transfer, job, plain;
    size_t plainBytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        plain.push_back(Time([&] { plainBytes = PlainRead(url); }));
        transfer.push_back(Time([&] {
            renovix::DownloadJob download(events, settings);
            HANDLE file = ::CreateFileW(transferPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            download.Fetch(url, kFileBytes, file);
            ::CloseHandle(file);
        }));
        job.push_back(Time([&] {
            renovix::DownloadJob download(events, settings);
            std::string name;
            // The server's signature is no signature of the maker: the check runs in full and
            // then refuses, which is all the time it takes.
            download.DownloadFile(url, kFileBytes, std::string(128, '0'), name);
            download.DeleteDownloads();
        }));
    }
    const auto spread = [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
    };
    std::printf("download of %zu bytes, %d interleaved rounds, median (spread)\n", plainBytes,
                kRounds);
    std::printf("  plain WinINet read : %8.1f ms (%.1f)\n", Median(plain), spread(plain));
    std::printf("  job's download     : %8.1f ms (%.1f)\n", Median(transfer), spread(transfer));
    std::printf("  ratio              : %8.2f (goal <= 1.5)\n", Median(transfer) / Median(plain));
    // The signature's fetch and check read the file back and hash it (SHA-512): shown apart, as
    // the price of the check rather than of the download.
    std::printf("  with the signature : %8.1f ms (%.1f), ratio %.2f\n", Median(job), spread(job),
                Median(job) / Median(plain));
    ::DeleteFileW(transferPath.c_str());
    return 0;
}
