#pragma once
// What the Renovix tests share: fresh folders, files, signatures from the loopback server, and
// a stand-in main window titled "Velbrook" that records the close requests it gets.

#include "tests/update/version_server_client.h"

#include <windows.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_support {

// A new empty folder below the test program's folder.
std::string FreshFolder(const std::string& name);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);  // empty when missing
bool Exists(const std::string& path);

// Serves bytes under caseName/file and writes the signature the server makes for them to
// signaturePath (the tests' key signs; the server runs tools/sign-update.sh).
void SignWithServer(const VersionServer& server, const std::string& caseName,
                    const std::string& file, const std::string& bytes,
                    const std::string& signaturePath);

// The text of a release statement of Velbrook `version` listing each file as
// "name<TAB>destination<TAB>archive flag<TAB>digest".
std::string StatementText(const std::string& version, const std::vector<std::string>& files);

// The raw body of a GET, or empty text.
std::string FetchBytes(const std::string& url);

// A top-level window titled "Velbrook" and marked as the main window (a child with the Home
// button's id) on a thread of its own; it keeps every WM_CLOSE's parameters and closes itself on
// the first. withDecoy adds an unmarked window of the same title above it, as an alert or a
// message box would be, that counts the close requests it gets and stays.
class StandInMainWindow {
public:
    explicit StandInMainWindow(bool withDecoy = false);
    ~StandInMainWindow();
    std::vector<std::pair<WPARAM, LPARAM>> CloseRequests() const;
    int DecoyCloseRequests() const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::thread thread_;
    DWORD threadId_ = 0;
    HANDLE ready_;
};

}  // namespace testing_support
