// Renovix.dll as Velbrook and rundll32 load it: its exports, its resources, a second dialog
// while one runs, and the whole update from the loopback server to the restarted program.
#include "tests/update/renovix/renovix_test_support.h"
#include "tests/update/renovix/zip_maker.h"
#include "update/renovix/signature.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using namespace testing_support;
using EntryFn = int (*)();

std::string Folder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file = path;
    return file.substr(0, file.find_last_of('\\') + 1);
}

HWND WaitForWindow(const wchar_t* caption, DWORD process, unsigned ms) {
    for (unsigned waited = 0; waited < ms; waited += 20) {
        HWND found = nullptr;
        while ((found = ::FindWindowExW(nullptr, found, L"#32770", caption)) != nullptr) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(found, &owner);
            if (owner == process) {
                return found;
            }
        }
        ::Sleep(20);
    }
    return nullptr;
}

// Answers every "Velbrook" message box of another process, so that a failed install step
// (rundll32 showing its error) never outlives the test.
void DismissForeignMessageBoxes() {
    HWND box = nullptr;
    while ((box = ::FindWindowExW(nullptr, box, L"#32770", L"Velbrook")) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(box, &owner);
        if (owner != ::GetCurrentProcessId()) {
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
}

COLORREF PixelOf(HWND window, int x, int y) {
    RECT client{};
    ::GetClientRect(window, &client);
    HDC screen = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::PrintWindow(window, memory, PW_CLIENTONLY);
    const COLORREF pixel = ::GetPixel(memory, x, y);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
    return pixel;
}

class RenovixLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ::CopyFileA((Folder() + "velbrook_stand_in.exe").c_str(),
                    (Folder() + "Velbrook.exe").c_str(), FALSE);
        ::DeleteFileA((Folder() + "started.txt").c_str());
        library = ::LoadLibraryA((Folder() + "Renovix.dll").c_str());
        ASSERT_TRUE(library);
    }
    void TearDown() override {
        DismissForeignMessageBoxes();
        if (library) {
            ::FreeLibrary(library);
        }
    }
    EntryFn Export(const char* name) const {
        return reinterpret_cast<EntryFn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    }
    HMODULE library = nullptr;
    VersionServer server;
};

TEST_F(RenovixLibrary, ExportsInTheirOrderUnderPlainNames) {
    const char* names[] = {"ShowMainDialogFirst", "StartDownload", "InstallUpdates", "IsUpdation"};
    for (WORD ordinal = 1; ordinal <= 4; ++ordinal) {
        const auto byOrdinal = ::GetProcAddress(library, MAKEINTRESOURCEA(ordinal));
        ASSERT_TRUE(byOrdinal) << ordinal;
        EXPECT_EQ(byOrdinal, ::GetProcAddress(library, names[ordinal - 1])) << names[ordinal - 1];
    }
    EXPECT_EQ(Export("ShowMainDialogFirst"), Export("StartDownload"));
}

TEST_F(RenovixLibrary, TheDialogItsArtAndItsAnimationComeFromTheLibrary) {
    // This program carries none of them.
    EXPECT_FALSE(::FindResourceW(nullptr, MAKEINTRESOURCEW(14000), MAKEINTRESOURCEW(5)));
    EXPECT_FALSE(::FindResourceW(nullptr, MAKEINTRESOURCEW(1001), L"IMAGES"));
    server.Script("library", "1\nh\t1.0.0.0\t0\t0");
    SiteUrlOverride site(server.CaseUrl("library"));

    std::atomic<bool> pictureShown{false}, secondCallRefused{false}, closedWhileOpen{false};
    COLORREF banner = 0;
    std::thread watcher([&] {
        HWND dialog = WaitForWindow(L"Velbrook Update", ::GetCurrentProcessId(), 20000);
        if (!dialog) {
            return;
        }
        HWND picture = ::GetDlgItem(dialog, 14001), ok = ::GetDlgItem(dialog, 1091);
        for (int i = 0; i < 1000 && !::IsWindowVisible(ok); ++i) {
            pictureShown = pictureShown || ::IsWindowVisible(picture);
            ::Sleep(10);
        }
        banner = PixelOf(dialog, 250, 2);
        secondCallRefused = Export("ShowMainDialogFirst")() == 0 && Export("IsUpdation")() == 0;
        closedWhileOpen = true;
        ::SendMessageW(dialog, WM_COMMAND, 1091, reinterpret_cast<LPARAM>(ok));
    });
    const int result = Export("ShowMainDialogFirst")();
    watcher.join();
    EXPECT_TRUE(closedWhileOpen);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(::FindResourceW(library, MAKEINTRESOURCEW(1001), L"IMAGES"));
    EXPECT_EQ(banner, RGB(32, 77, 165));  // the top bar of bitmap 14001, in the art's ink
    EXPECT_TRUE(secondCallRefused);
    EXPECT_EQ(Export("IsUpdation")(), 0);
}

TEST_F(RenovixLibrary, AnUpdateFromTheServerToTheRestartedProgram) {
    const std::string folder = Folder();
    const std::string zip = MakeZip({{"e2e_unpacked/inner.txt", "from the archive"}});
    const std::string plain = "a plain program file";
    WriteBytes(folder + "e2e_pack.zip", zip);
    WriteBytes(folder + "e2e_plain.bin", plain);
    ::DeleteFileA((folder + "e2e_unpacked\\inner.txt").c_str());
    ::DeleteFileA((folder + "e2e_plain.txt").c_str());
    server.ScriptFile("e2e", "pack.zip", folder + "e2e_pack.zip");
    server.ScriptFile("e2e", "plain", folder + "e2e_plain.bin");
    server.ScriptFileBody(
        "e2e", "admin/release-statement",
        StatementText("9.0.0.0", {"pack.zip\tpack.zip\t1\t" + renovix::Sha512Hex(zip),
                                  "plain\te2e_plain.txt\t0\t" + renovix::Sha512Hex(plain)}));
    const std::string base = server.CaseUrl("e2e");
    server.Script("e2e",
                  "1\nh\t9.0.0.0\t2\t0\n"
                  "pack.zip\tx\t" +
                      std::to_string(zip.size()) + "\t" + base +
                      "/pack.zip\t1\t0\n"
                      "e2e_plain.txt\tx\t" +
                      std::to_string(plain.size()) + "\t" + base + "/plain\t0\t0");
    SiteUrlOverride site(base);
    StandInMainWindow velbrook;

    // Velbrook's part: a process that loads the library and shows the dialog.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + folder + "renovix_library_test.exe\" --host";
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.c_str(), &startup, &process));
    HWND question = WaitForWindow(L"Velbrook", process.dwProcessId, 60000);
    ASSERT_TRUE(question);
    ::PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);

    // rundll32's part: the install step closes "Velbrook", places the files, starts it again.
    for (int i = 0; i < 600 && !Exists(folder + "started.txt"); ++i) {
        ::Sleep(100);
    }
    ::Sleep(200);
    EXPECT_EQ(ReadBytes(folder + "started.txt"), "-wnw");
    EXPECT_EQ(ReadBytes(folder + "e2e_unpacked\\inner.txt"), "from the archive");
    EXPECT_EQ(ReadBytes(folder + "e2e_plain.txt"), plain);
    const auto requests = velbrook.CloseRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0], std::make_pair(WPARAM{1}, LPARAM{1}));
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    EXPECT_FALSE(Exists(std::string(temp) + "updatetmp.tmp"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--host") == 0) {
        // Stands in for Velbrook: load the library beside this program and show the dialog;
        // a time in milliseconds after "--host" ends the process then (for screenshots).
        if (argc > 2) {
            const DWORD lifetime = static_cast<DWORD>(std::atoi(argv[2]));
            std::thread([lifetime] {
                ::Sleep(lifetime);
                ::ExitProcess(0);
            }).detach();
        }
        HMODULE library = ::LoadLibraryA((Folder() + "Renovix.dll").c_str());
        auto show = library ? reinterpret_cast<EntryFn>(reinterpret_cast<void*>(
                                  ::GetProcAddress(library, "ShowMainDialogFirst")))
                            : nullptr;
        return show ? 10 + show() : 3;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
