// The real target of a link whose "%ProgramFiles%" a 32-bit process expanded to the 32-bit
// programs' folder.

#include "engine/shortcut.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const engine::FolderPairs kFolders = {
    {"C:\\Program Files (x86)", "C:\\Program Files"},
    {"C:\\Program Files (x86)\\Common Files", "C:\\Program Files\\Common Files"},
};

TEST(RealShortcutTarget, ATargetOnlyThe64BitFolderHoldsIsTakenFromThere) {
    const std::set<std::string> files = {
        "C:\\Program Files\\Tool\\tool.exe", "C:\\Program Files (x86)\\Both\\both.exe",
        "C:\\Program Files\\Both\\both.exe", "C:\\Program Files\\Common Files\\Shared\\s.exe"};
    const auto exists = [&](const std::string& path) { return files.count(path) > 0; };
    EXPECT_EQ(
        engine::RealShortcutTarget("c:\\program files (x86)\\Tool\\tool.exe", kFolders, exists),
        "C:\\Program Files\\Tool\\tool.exe");
    // The file the 32-bit folder holds is the one meant.
    EXPECT_EQ(
        engine::RealShortcutTarget("C:\\Program Files (x86)\\Both\\both.exe", kFolders, exists),
        "C:\\Program Files (x86)\\Both\\both.exe");
    // Where neither holds it, the target stays as the link gave it.
    EXPECT_EQ(engine::RealShortcutTarget("C:\\Program Files (x86)\\Gone\\g.exe", kFolders, exists),
              "C:\\Program Files (x86)\\Gone\\g.exe");
    EXPECT_EQ(engine::RealShortcutTarget("C:\\Program Files (x86)\\Common Files\\Shared\\s.exe",
                                         kFolders, exists),
              "C:\\Program Files\\Common Files\\Shared\\s.exe");
    EXPECT_EQ(engine::RealShortcutTarget("C:\\Program Files (x86)Other\\x.exe", kFolders, exists),
              "C:\\Program Files (x86)Other\\x.exe");
    EXPECT_EQ(engine::RealShortcutTarget("C:\\Program Files (x86)\\Tool\\tool.exe", {}, exists),
              "C:\\Program Files (x86)\\Tool\\tool.exe");
}

}  // namespace
