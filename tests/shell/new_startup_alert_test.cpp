// The new-startup alert, run modally under the test display.

#include "shell/new_startup_alert.h"

#include "engine/startup_item.h"
#include "tests/shell/test_page_host.h"
#include "tests/support/dialog_driver.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

std::string Windows(const char* file) {
    char folder[MAX_PATH];
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + file;
}

TEST(AlertIcon, CommandGivesAnExistingFileOrTheGenericProgram) {
    const std::string notepad = Windows("notepad.exe");
    EXPECT_EQ(shell::AlertIconSource(notepad), notepad);
    EXPECT_EQ(shell::AlertIconSource("  \"" + notepad + "\" /background"), notepad);
    EXPECT_EQ(shell::AlertIconSource("\"C:\\Gone\\tool.exe\" /q"), "null.exe");
    EXPECT_EQ(shell::AlertIconSource(""), "null.exe");
    // Arguments without a slash stay part of the path, which then names no file.
    EXPECT_EQ(shell::AlertIconSource(notepad + " -x"), "null.exe");
    EXPECT_EQ(shell::AlertIconSource(Windows("")), "null.exe");  // a folder
}

TEST(Alert, SitsTopmostAtTheBottomRightAndNamesTheEntry) {
    TestPageHost host;
    const engine::StartupItem item{"Cloud Sync", "\"C:\\Gone\\sync.exe\" /min", "Startup", true};
    shell::CAlertDlg alert(item);
    RunModal(
        alert,
        [&](controls::CDialog& dialog) {
            const HWND window = dialog.hwnd();
            char title[64];
            ::GetWindowTextA(window, title, sizeof title);
            EXPECT_STREQ(title, "Velbrook");
            EXPECT_EQ(ControlText(dialog, IDC_ALERT_TEXT),
                      "One New Program \"Cloud Sync\" Added in Tray list of Windows Startup.");
            EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_TRUE(::IsWindowVisible(window));

            RECT work{}, frame{};
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            ::GetWindowRect(window, &frame);
            EXPECT_EQ(frame.right, work.right - 2);
            EXPECT_EQ(frame.bottom, work.bottom - 2);

            LOGFONTA font{};
            ::GetObjectA(reinterpret_cast<HFONT>(
                             ::SendMessageA(dialog.Item(IDC_ALERT_TEXT), WM_GETFONT, 0, 0)),
                         sizeof font, &font);
            EXPECT_STREQ(font.lfFaceName, "Arial");
            EXPECT_NE(::SendMessageA(dialog.Item(IDC_ALERT_ICON), STM_GETICON, 0, 0), 0);
            dialog.SendCommand(IDCANCEL);
        },
        host.Window());
    EXPECT_TRUE(host.selected.empty());
}

TEST(Alert, ClosesItselfOnItsTimerAndManageNowOpensTheManualFixPage) {
    TestPageHost host;
    const engine::StartupItem item{"Tool", "C:\\windows\\notepad.exe", "Startup", true};
    {
        shell::CAlertDlg alert(item);
        const INT_PTR result = RunModal(
            alert,
            [](controls::CDialog& dialog) {
                ::SendMessageA(dialog.hwnd(), WM_TIMER, shell::CAlertDlg::kCloseTimer, 0);
            },
            host.Window());
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(host.selected.empty());
    }
    ::ShowWindow(host.Window(), SW_MINIMIZE);
    shell::CAlertDlg alert(item);
    RunModal(
        alert, [](controls::CDialog& dialog) { dialog.SendCommand(IDOK); }, host.Window());
    EXPECT_EQ(host.selected, std::vector<int>{controls::kManualFixPage});
    EXPECT_TRUE(::IsWindowVisible(host.Window()));
    EXPECT_FALSE(::IsIconic(host.Window()));
}

}  // namespace
