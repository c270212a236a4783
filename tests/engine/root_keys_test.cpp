#include "engine/root_keys.h"

#include <gtest/gtest.h>

namespace {

struct RootCase {
    const char* path;
    HKEY root;
    size_t prefixLength;
};

TEST(ParseRootKey, AcceptsBothFormsInAnyCaseAndCountsTheSeparator) {
    const RootCase cases[] = {
        {"hkey_local_machine\\Software", HKEY_LOCAL_MACHINE, 19},
        {"HKLM\\Software", HKEY_LOCAL_MACHINE, 5},
        {"hkcu/Software", HKEY_CURRENT_USER, 5},
        {"HKU\\.DEFAULT", HKEY_USERS, 4},
        {"HKEY_CURRENT_CONFIG\\System", HKEY_CURRENT_CONFIG, 20},
        {"HKCR\\.txt", HKEY_CLASSES_ROOT, 5},
        {"HKPD\\x", HKEY_PERFORMANCE_DATA, 5},
        {"HKDD\\x", HKEY_DYN_DATA, 5},
        {" HKLM \\Software", HKEY_LOCAL_MACHINE, 7},  // blanks trimmed, prefix as written
        {"HKLM", HKEY_LOCAL_MACHINE, 5},
    };
    for (const auto& c : cases) {
        const auto parsed = engine::ParseRootKey(c.path);
        EXPECT_EQ(parsed.root, c.root) << c.path;
        EXPECT_EQ(parsed.prefixLength, c.prefixLength) << c.path;
    }
}

TEST(ParseRootKey, RejectsShortAndUnknownNamesButStillGivesThePrefix) {
    const RootCase cases[] = {
        {"H\\Software", nullptr, 2},
        {"HKXX\\Software", nullptr, 5},
        {"\\Software", nullptr, 1},
        {"", nullptr, 1},
        // Only the first 31 characters are looked at.
        {"HKEY_LOCAL_MACHINE_AND_MUCH_MORE_THAN_31\\x", nullptr, 32},
    };
    for (const auto& c : cases) {
        const auto parsed = engine::ParseRootKey(c.path);
        EXPECT_EQ(parsed.root, c.root) << c.path;
        EXPECT_EQ(parsed.prefixLength, c.prefixLength) << c.path;
    }
}

TEST(ShortRootName, ShortensOnlyLongNames) {
    EXPECT_EQ(engine::ShortRootName("HKEY_CURRENT_USER"), "HKCU");
    EXPECT_EQ(engine::ShortRootName("hkey_local_machine\\Software"), "HKLM");
    EXPECT_EQ(engine::ShortRootName("HKEY_USERS"), "HKU");
    EXPECT_EQ(engine::ShortRootName("HKCU"), "");
    EXPECT_EQ(engine::ShortRootName("HKEY_NOWHERE"), "");
}

}  // namespace
