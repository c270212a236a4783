// The decisions of a start that need no window: the command line, the staged Renovix, the
// shared table's slot at exit and the size of the tray icon's record.

#include "platform/web_page.h"
#include "shell/core/renovix_staging.h"
#include "shell/startup_flags.h"
#include "shell/core/swh_table.h"
#include "shell/core/tray_record_size.h"
#include "update/site_config.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using shell::NotifyRecordKind;

TEST(StartupFlags, BothSwitchesAreFoundAnywhereAlsoInsideWords) {
    struct Case {
        const char* commandLine;
        bool whatsNew, logon;
    };
    const Case cases[] = {
        {"", false, false},         {"-wnw", true, false},
        {"-t", false, true},        {"-wnw -t", true, true},
        {"x-wnwy", true, false},    {"--today", false, true},  // a plain substring test
        {"-WNW -T", false, false},                             // case-sensitive
        {"-w -n -w", false, false},
    };
    for (const Case& c : cases) {
        const shell::StartupFlags flags = shell::ReadStartupFlags(c.commandLine);
        EXPECT_EQ(flags.openWhatsNew, c.whatsNew) << c.commandLine;
        EXPECT_EQ(flags.startedAtLogon, c.logon) << c.commandLine;
    }
}

// The what's-new page once opened from this (elevated) process: the browser ran elevated.
TEST(StartupFlags, WhatsNewOpensThePageThroughTheDesktopShellAndLogonSetsTheFlag) {
    std::vector<std::string> opened, fromThisProcess;
    auto previous = platform::SetWebPageHandler([&](const std::string& address) {
        fromThisProcess.push_back(address);
        return true;
    });
    auto previousDesktop = platform::SetDesktopShellHandler([&](const std::string& address) {
        opened.push_back(address);
        return true;
    });
    shell::SetStartedAtLogon(false);
    shell::ActOnCommandLine("-t");
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(shell::StartedAtLogon());
    shell::SetStartedAtLogon(false);
    shell::ActOnCommandLine("/x -wnw");
    platform::SetWebPageHandler(previous);
    platform::SetDesktopShellHandler(previousDesktop);
    EXPECT_TRUE(fromThisProcess.empty());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], update::WhatsNewPageUrl());
    EXPECT_NE(opened[0].find("whatnew.aspx"), std::string::npos);
    EXPECT_FALSE(shell::StartedAtLogon());
}

TEST(TrayRecord, TheShellVersionPicksTheRecord) {
    EXPECT_EQ(shell::NotifyRecordKindFor(10, 0, 19041), NotifyRecordKind::kFull);
    EXPECT_EQ(shell::NotifyRecordKindFor(6, 1, 0), NotifyRecordKind::kFull);
    EXPECT_EQ(shell::NotifyRecordKindFor(6, 0, 6000), NotifyRecordKind::kFull);
    EXPECT_EQ(shell::NotifyRecordKindFor(6, 0, 5999), NotifyRecordKind::kVersion3);
    EXPECT_EQ(shell::NotifyRecordKindFor(5, 80, 0), NotifyRecordKind::kVersion2);
    EXPECT_EQ(shell::NotifyRecordKindFor(4, 72, 0), NotifyRecordKind::kVersion1);
    EXPECT_EQ(shell::NotifyRecordKindFor(0, 0, 0), NotifyRecordKind::kVersion1);
}

class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "velbrook-staging-" + std::to_string(::GetCurrentProcessId()) +
                "\\";
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const char* name : {"Renovix.dll", "Renovix_s.dll"}) {
            ::DeleteFileA((path_ + name).c_str());
        }
        ::RemoveDirectoryA(path_.c_str());
    }
    const std::string& path() const { return path_; }
    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(path_ + name, std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ + name, std::ios::binary);
        if (!in) {
            return "<missing>";
        }
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

private:
    std::string path_;
};

TEST(RenovixStaging, TheStagedLibraryReplacesTheOldOneOnlyWhenThere) {
    TempFolder folder;
    folder.Write("Renovix.dll", "old");
    EXPECT_FALSE(shell::PutStagedRenovixInPlace(folder.path()));
    EXPECT_EQ(folder.Read("Renovix.dll"), "old");

    folder.Write("Renovix_s.dll", "new");
    EXPECT_TRUE(shell::PutStagedRenovixInPlace(folder.path()));
    EXPECT_EQ(folder.Read("Renovix.dll"), "new");
    EXPECT_EQ(folder.Read("Renovix_s.dll"), "<missing>");

    // Without an old library the staged one still moves into place.
    ::DeleteFileA((folder.path() + "Renovix.dll").c_str());
    folder.Write("Renovix_s.dll", "newer");
    EXPECT_TRUE(shell::PutStagedRenovixInPlace(folder.path()));
    EXPECT_EQ(folder.Read("Renovix.dll"), "newer");
}

class SwhImage : public ::testing::Test {
protected:
    std::vector<unsigned char> table = std::vector<unsigned char>(shell::kSwhTableSize);
    std::set<std::uint32_t> liveWindows;
    int Choose() {
        return shell::ChooseSwhSlotToClear(table.data(), "Velbrook", [this](std::uint32_t w) {
            return liveWindows.count(w) != 0;
        });
    }
};

TEST_F(SwhImage, LayoutOfTheSlots) {
    shell::SetSwhUseCount(table.data(), -3);
    shell::SetSwhSlot(table.data(), 255, L"Velbrook", 0x1234);
    EXPECT_EQ(shell::SwhUseCount(table.data()), -3);
    // The last slot ends exactly at the end of the block.
    EXPECT_EQ(table[4 + 255 * 132], 'V');
    EXPECT_EQ(table[4 + 255 * 132 + 1], 0);
    EXPECT_EQ(table[shell::kSwhTableSize - 4], 0x34);
    EXPECT_EQ(shell::SwhSlotName(table.data(), 255), "Velbrook");
    EXPECT_EQ(shell::SwhSlotWindow(table.data(), 255), 0x1234u);
    // A name of all 64 characters has no terminator.
    shell::SetSwhSlot(table.data(), 3, std::wstring(64, L'x'), 1);
    EXPECT_EQ(shell::SwhSlotName(table.data(), 3), std::string(64, 'x'));
}

TEST_F(SwhImage, TheFirstDeadSlotOfTheNameWinsElseTheLastLiveOne) {
    EXPECT_EQ(Choose(), -1);
    shell::SetSwhSlot(table.data(), 2, L"velbrook", 50);  // another case: not ours
    shell::SetSwhSlot(table.data(), 4, L"Velbrook", 10);
    shell::SetSwhSlot(table.data(), 7, L"Velbrook", 11);
    shell::SetSwhSlot(table.data(), 9, L"Velbrook", 12);
    liveWindows = {10, 11, 12, 50};
    EXPECT_EQ(Choose(), 9);
    liveWindows = {10, 50};
    EXPECT_EQ(Choose(), 7);
    liveWindows = {};
    EXPECT_EQ(Choose(), 4);
}

TEST_F(SwhImage, ClearingZeroesNameAndWindowOnly) {
    shell::SetSwhUseCount(table.data(), 2);
    shell::SetSwhSlot(table.data(), 0, L"Other", 5);
    shell::SetSwhSlot(table.data(), 1, L"Velbrook", 6);
    shell::SetSwhSlot(table.data(), 2, L"Other", 7);
    shell::ClearSwhSlot(table.data(), 1);
    EXPECT_EQ(shell::SwhSlotName(table.data(), 1), "");
    EXPECT_EQ(shell::SwhSlotWindow(table.data(), 1), 0u);
    EXPECT_EQ(shell::SwhSlotName(table.data(), 0), "Other");
    EXPECT_EQ(shell::SwhSlotWindow(table.data(), 2), 7u);
    EXPECT_EQ(shell::SwhUseCount(table.data()), 2);
}

}  // namespace
