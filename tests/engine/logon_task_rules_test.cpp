// Which tasks are startups, and the entry each is listed as.

#include "engine/logon_task_rules.h"

#include <gtest/gtest.h>

namespace {

using engine::TaskAction;
using engine::TaskFacts;
using engine::TaskTrigger;
using Kind = TaskTrigger::Kind;

const TaskAction kExec{"C:\\Tools\\up.exe", "/silent", ""};
const TaskAction kCom{"", "", "{11111111-2222-3333-4444-555555555555}"};

TEST(LogonTaskRules, ListsTasksStartedAtLogonOrBootWithTheirCommandsAndState) {
    struct Case {
        const char* what;
        TaskFacts task;
        bool listed;
        std::string command;
        bool enabled;
    };
    const Case cases[] = {
        {"logon, any user",
         {"\\V\\Up", true, {{Kind::Logon, true, ""}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         true},
        {"logon, this user by domain",
         {"\\Up", true, {{Kind::Logon, true, "PC\\Me"}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         true},
        {"logon, another user",
         {"\\Up", true, {{Kind::Logon, true, "PC\\Other"}}, {kExec}},
         false,
         "",
         false},
        {"logon, this user by bare name",
         {"\\Up", true, {{Kind::Logon, true, "ME"}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         true},
        {"logon, this user by SID",
         {"\\Up", true, {{Kind::Logon, true, "s-1-5-21-7-8-9-1001"}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         true},
        {"logon, another user's SID",
         {"\\Up", true, {{Kind::Logon, true, "S-1-5-21-7-8-9-1002"}}, {kExec}},
         false,
         "",
         false},
        {"boot, COM handler",
         {"\\Up", true, {{Kind::Boot, true, ""}}, {kCom}},
         true,
         kCom.classId,
         true},
        {"time trigger only", {"\\Up", true, {{Kind::Other, true, ""}}, {kExec}}, false, "", false},
        {"no arguments, two actions",
         {"\\Up",
          true,
          {{Kind::Other, true, ""}, {Kind::Boot, true, ""}},
          {{"C:\\a.exe", "", ""}, kCom}},
         true,
         "C:\\a.exe; " + kCom.classId,
         true},
        {"task disabled",
         {"\\Up", false, {{Kind::Logon, true, ""}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         false},
        {"its only startup trigger disabled",
         {"\\Up", true, {{Kind::Logon, false, ""}, {Kind::Other, true, ""}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         false},
        {"one of two startup triggers enabled",
         {"\\Up", true, {{Kind::Logon, false, ""}, {Kind::Boot, true, ""}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         true},
        {"our own root task",
         {"\\velbrook STARTUPS", true, {{Kind::Logon, true, ""}}, {kExec}},
         false,
         "",
         false},
        {"a namesake in a folder",
         {"\\V\\Velbrook startups", true, {{Kind::Logon, true, ""}}, {kExec}},
         true,
         "C:\\Tools\\up.exe /silent",
         true},
    };
    for (const Case& c : cases) {
        const auto item = engine::TaskStartupEntry(c.task, {"me", "S-1-5-21-7-8-9-1001"});
        ASSERT_EQ(item.has_value(), c.listed) << c.what;
        if (!item) {
            continue;
        }
        EXPECT_EQ(item->name, c.task.path) << c.what;
        EXPECT_EQ(item->location, "Task Scheduler") << c.what;
        EXPECT_TRUE(engine::IsTaskLocation(item->location)) << c.what;
        EXPECT_FALSE(item->IsRegistryEntry()) << c.what;
        EXPECT_EQ(item->command, c.command) << c.what;
        EXPECT_EQ(item->enabled, c.enabled) << c.what;
    }
}

// A user whose token could not be read names nobody, not every task without a user.
TEST(LogonTaskRules, AnUnreadUserMatchesNoUserId) {
    EXPECT_FALSE(engine::NamesUser("S-1-5-21-7-8-9-1001", {"me", ""}));
    EXPECT_FALSE(engine::NamesUser("PC\\", {"", "S-1-5-21-7-8-9-1001"}));
    EXPECT_TRUE(engine::NamesUser("PC\\me", {"me", ""}));
}

TEST(LogonTaskRules, LeafNameIsTheLastPathElement) {
    EXPECT_EQ(engine::TaskLeafName("\\Vendor\\Sub\\Updater"), "Updater");
    EXPECT_EQ(engine::TaskLeafName("\\Updater"), "Updater");
    EXPECT_EQ(engine::TaskLeafName("Updater"), "Updater");
}

}  // namespace
