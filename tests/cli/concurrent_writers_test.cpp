// Several velbrookc processes writing the data folder at the same moment lose no record.

#include "history/fix_files.h"
#include "history/records.h"
#include "cleanup/ignore_list.h"
#include "platform/file_search.h"
#include "shell/core/data_path.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"
#include "tests/support/run_process.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <thread>
#include <vector>

namespace {

using namespace testing_support;

constexpr int kRounds = 3;
constexpr int kWriters = 6;

// Runs every command line at once and returns their results in order.
std::vector<ProcessResult> RunTogether(const std::vector<std::string>& argumentLines) {
    std::vector<ProcessResult> results(argumentLines.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < argumentLines.size(); ++i) {
        threads.emplace_back([&, i] { results[i] = RunVelbrookc(argumentLines[i]); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    return results;
}

std::vector<std::string> FixFiles() {
    std::vector<std::string> files;
    const std::string folder = shell::DataPath("data");
    platform::FileSearch search(folder + "\\*.dat");
    while (search.Next()) {
        const std::string name = search.Name();
        if (name.size() == 18) {  // fourteen digits and ".dat"
            files.push_back(folder + "\\" + name);
        }
    }
    return files;
}

std::string Name(const char* stem, int round, int writer) {
    return stem + std::to_string(round) + "x" + std::to_string(writer);
}

class ConcurrentWriters : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
    }
};

TEST_F(ConcurrentWriters, EveryFixGetsExactlyOneWholeHistoryRecord) {
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::string> lines;
        for (int writer = 0; writer < kWriters; ++writer) {
            SetRunValue(HKEY_CURRENT_USER, kRunKey, Name("Writer", round, writer), "w.exe");
            lines.push_back("disable " + Name("Writer", round, writer));
        }
        for (const auto& run : RunTogether(lines)) {
            EXPECT_EQ(run.exitCode, 0u) << run.err;
        }
    }
    const std::string history = ReadFileBytes(history::HistoryFilePath());
    EXPECT_EQ(history.size() % history::kHistoryRecordSize, 0u) << "a record was cut";
    std::map<std::string, int> recordsOfFile;
    for (const auto& record : history::ReadHistory()) {
        ++recordsOfFile[record.fixFilePath];
    }
    const auto files = FixFiles();
    EXPECT_EQ(files.size(), static_cast<size_t>(kRounds * kWriters));
    for (const auto& file : files) {
        EXPECT_EQ(recordsOfFile[file], 1) << file;
        std::vector<engine::StartupItem> items;
        history::ReadFixFile(file, items);
        EXPECT_EQ(items.size(), 1u) << file;
    }
    EXPECT_EQ(recordsOfFile.size(), files.size());
}

TEST_F(ConcurrentWriters, IgnoreListKeepsEveryAdditionWhileOthersRemove) {
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::string> lines;
        for (int writer = 0; writer < kWriters; ++writer) {
            lines.push_back("ignore add " + Name("Kept", round, writer) + " --command k.exe");
            // Each round also takes the previous round's "Gone" names off again, a
            // read-and-replace racing the appends.
            lines.push_back(round == 0
                                ? "ignore add " + Name("Gone", round, writer) + " --command g.exe"
                                : "ignore remove " + Name("Gone", round - 1, writer));
        }
        const auto results = RunTogether(lines);
        for (size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(results[i].exitCode, 0u) << lines[i] << ": " << results[i].err;
        }
        if (round == 0) {
            continue;
        }
        std::vector<std::string> gone;
        for (int writer = 0; writer < kWriters; ++writer) {
            gone.push_back("ignore add " + Name("Gone", round, writer) + " --command g.exe");
        }
        RunTogether(gone);
    }
    const std::string bytes = ReadFileBytes(cleanup::IgnoreFilePath());
    EXPECT_EQ(bytes.size() % cleanup::kIgnoreRecordSize, 0u) << "a record was cut";
    std::map<std::string, int> count;
    for (const auto& record : cleanup::ReadIgnoreRecords()) {
        ++count[record.name];
    }
    EXPECT_EQ(count.size(), static_cast<size_t>(kRounds * kWriters + kWriters));
    for (int round = 0; round < kRounds; ++round) {
        for (int writer = 0; writer < kWriters; ++writer) {
            EXPECT_EQ(count[Name("Kept", round, writer)], 1) << Name("Kept", round, writer);
            // Only the last round's "Gone" names were never removed.
            EXPECT_EQ(count[Name("Gone", round, writer)], round == kRounds - 1 ? 1 : 0)
                << Name("Gone", round, writer);
        }
    }
}

}  // namespace
