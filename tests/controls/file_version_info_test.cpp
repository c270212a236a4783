#include "controls/file_version_info.h"
#include "controls/translation_choice.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using controls::ChooseTranslation;
using controls::Translation;

constexpr std::uint16_t kGerman = 0x0407, kSwissGerman = 0x0807, kUsEnglish = 0x0409,
                        kUkEnglish = 0x0809, kFrench = 0x040C, kNeutral = 0x0000;

TEST(ChooseTranslation, UserLanguageThenNeutralThenEnglishThenFirst) {
    struct Case {
        std::vector<Translation> table;
        std::uint16_t user;
        int expected;
    } cases[] = {
        {{}, kGerman, -1},
        {{{kUsEnglish, 1200}}, kGerman, 0},
        {{{kFrench, 1252}, {kUsEnglish, 1252}}, kGerman, 1},
        {{{kUsEnglish, 1252}, {kGerman, 1252}}, kGerman, 1},
        {{{kUsEnglish, 1252}, {kSwissGerman, 1252}}, kGerman, 1},  // same primary language
        {{{kSwissGerman, 1252}, {kGerman, 1252}}, kGerman, 1},     // exact beats primary
        {{{kUsEnglish, 1252}, {kNeutral, 1200}}, kGerman, 1},
        {{{kFrench, 1252}, {kUkEnglish, 1252}}, kGerman, 1},
        {{{kFrench, 1252}, {0x0410, 1252}}, kGerman, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseTranslation(c.table, c.user), c.expected)
            << "table of " << c.table.size() << ", first " << std::hex
            << (c.table.empty() ? 0 : c.table[0].language);
    }
}

std::string OwnPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

TEST(FileVersionInfo, FileListingOnlyUsEnglishIsReadInEnglishForAGermanUser) {
    controls::CFileVersionInfo info;
    ASSERT_TRUE(info.Read(OwnPath(), kGerman));
    EXPECT_EQ(info.translation(), static_cast<DWORD>(MAKELONG(1200, kUsEnglish)));
    EXPECT_EQ(info.companyName(), "Velbrook Test Maker");
    EXPECT_EQ(info.fileDescription(), "Controls test");
    EXPECT_EQ(info.String(controls::CFileVersionInfo::kProductName), "Velbrook");
    EXPECT_EQ(info.String(controls::CFileVersionInfo::kComments), "");
    EXPECT_EQ(info.fixedInfo().dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.fixedInfo().dwFileVersionMS, static_cast<DWORD>(MAKELONG(2, 1)));
    EXPECT_EQ(info.fixedInfo().dwFileVersionLS, static_cast<DWORD>(MAKELONG(4, 3)));
}

TEST(FileVersionInfo, FileWithoutVersionResourceGivesFailureAndEmptyFields) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "velbrook_no_version.txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("plain text", f);
    std::fclose(f);

    controls::CFileVersionInfo info;
    ASSERT_TRUE(info.Read(OwnPath(), kGerman));
    EXPECT_FALSE(info.Read(path, kGerman));  // the earlier read leaves nothing behind
    EXPECT_EQ(info.companyName(), "");
    EXPECT_EQ(info.fixedInfo().dwSignature, 0u);
    EXPECT_EQ(info.translation(), 0u);
    EXPECT_FALSE(info.Read("C:\\no\\such\\file.exe"));
    ::DeleteFileA(path.c_str());
}

}  // namespace
