#include "tests/update/renovix/renovix_test_support.h"

#include "platform/module_path.h"
#include "update/url_fetch.h"

#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace {
std::mutex closesLock;
std::vector<std::pair<WPARAM, LPARAM>> closes;
int decoyCloses = 0;
// What marks Velbrook's main window (its header's Home button).
constexpr int kMainWindowMark = 1071;

void DeleteTree(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}
}  // namespace

std::string FreshFolder(const std::string& name) {
    const std::string folder = platform::ProgramFolderWithBackslash() + name;
    DeleteTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string StatementText(const std::string& version, const std::vector<std::string>& files) {
    std::string text = "Velbrook release statement\nproduct\tVelbrook\nversion\t" + version + "\n";
    for (const auto& file : files) {
        text += "file\t" + file + "\n";
    }
    return text;
}

std::string FetchBytes(const std::string& url) {
    std::string body;
    update::HttpRequest request;
    request.receive = [&](const char* bytes, size_t size) {
        body.append(bytes, size);
        return true;
    };
    return update::HttpGet(url, request) == update::HttpOutcome::kDone ? body : std::string();
}

void SignWithServer(const VersionServer& server, const std::string& caseName,
                    const std::string& file, const std::string& bytes,
                    const std::string& signaturePath) {
    const std::string path = signaturePath + ".body";
    WriteBytes(path, bytes);
    server.ScriptFile(caseName, file, path);
    const std::string signature = FetchBytes(server.CaseUrl(caseName) + "/" + file + ".sig");
    ::DeleteFileA(path.c_str());
    if (signature.size() != 64) {
        throw std::runtime_error("the server gave no signature for " + file);
    }
    WriteBytes(signaturePath, signature);
}

StandInMainWindow::StandInMainWindow(bool withDecoy)
    : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    {
        std::lock_guard lock(closesLock);
        closes.clear();
        decoyCloses = 0;
    }
    thread_ = std::thread([this, withDecoy] {
        threadId_ = ::GetCurrentThreadId();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VelbrookStandInMainWindow";
        ::RegisterClassW(&windowClass);
        HWND window =
            ::CreateWindowW(windowClass.lpszClassName, L"Velbrook", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                            100, nullptr, nullptr, windowClass.hInstance, nullptr);
        ::CreateWindowW(L"STATIC", L"Home", WS_CHILD, 0, 0, 10, 10, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMainWindowMark)),
                        windowClass.hInstance, nullptr);
        if (withDecoy) {
            // Created last, so it comes first in the z-order, as an alert would.
            ::CreateWindowW(windowClass.lpszClassName, L"Velbrook", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                            100, nullptr, nullptr, windowClass.hInstance, nullptr);
        }
        ::SetEvent(ready_);
        MSG message;
        while (window && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::DispatchMessageW(&message);
        }
    });
    ::WaitForSingleObject(ready_, 10000);
}

StandInMainWindow::~StandInMainWindow() {
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    ::CloseHandle(ready_);
}

std::vector<std::pair<WPARAM, LPARAM>> StandInMainWindow::CloseRequests() const {
    std::lock_guard lock(closesLock);
    return closes;
}

int StandInMainWindow::DecoyCloseRequests() const {
    std::lock_guard lock(closesLock);
    return decoyCloses;
}

LRESULT CALLBACK StandInMainWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_CLOSE) {
        std::lock_guard lock(closesLock);
        if (::GetDlgItem(window, kMainWindowMark)) {
            closes.emplace_back(wParam, lParam);
            ::DestroyWindow(window);
        } else {
            ++decoyCloses;
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace testing_support
