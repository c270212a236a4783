#include "history/fix_files.h"

#include "history/data_lock.h"
#include "history/time_text.h"
#include "platform/clock.h"
#include "shell/core/data_path.h"

#include <cstring>

namespace history {

namespace {

// How many later seconds a fix tries before it gives up on a free name.
constexpr int kFreeNameAttempts = 3600;

std::string EncodeItem(const engine::StartupItem& item) {
    return EncodeFixedItemRecord({item.location, item.name, item.command}, DataFileText());
}

}  // namespace

std::string InsertNumber(const std::string& pattern, long long number) {
    std::string text = pattern;
    const std::string insert = "%1!d!";
    for (size_t at = text.find(insert); at != std::string::npos; at = text.find(insert, at + 1)) {
        text.replace(at, insert.size(), std::to_string(number));
    }
    return text;
}

std::string HistoryFilePath() { return shell::DataPath("data\\history.dat"); }

std::string FixFilePathOf(std::int64_t utcSeconds) {
    return shell::DataPath("data\\" + FixFileStamp(utcSeconds) + ".dat");
}

bool Recordable(const engine::StartupItem& item) {
    return FixedItemRecordFits({item.location, item.name, item.command}, DataFileText());
}

bool FixWriter::Begin() {
    shell::PrepareDataFolder();
    const std::int64_t now = platform::CurrentUnixTime();
    for (int attempt = 0; attempt < kFreeNameAttempts; ++attempt) {
        const std::int64_t time = now + attempt;
        const std::string path = FixFilePathOf(time);
        DWORD error = 0;
        if (fixFile_.CreateNew(path, &error)) {
            fixTime_ = time;
            fixFilePath_ = path;
            return true;
        }
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    return false;
}

bool FixWriter::Record(const engine::StartupItem& item) {
    return fixFile_.Append(EncodeItem(item));
}

bool FixWriter::Finish(const std::string& remarks, const std::string& action) {
    const bool fixFileKept = fixFile_.Flush();
    fixFile_.Close();
    DataFolderLock lock;
    RecordAppender historyFile;
    return lock.held() && historyFile.OpenExisting(HistoryFilePath(), kHistoryRecordSize) &&
           historyFile.Append(
               EncodeHistoryRecord({remarks, fixTime_, action, fixFilePath_}, DataFileText())) &&
           historyFile.Flush() && fixFileKept;
}

void FixWriter::Discard() {
    fixFile_.Close();
    if (!fixFilePath_.empty()) {
        ::DeleteFileA(fixFilePath_.c_str());
    }
}

std::vector<HistoryRecord> ReadHistory() {
    std::string bytes;
    if (ReadWholeRecords(HistoryFilePath(), kHistoryRecordSize, bytes) != ReadOutcome::Read) {
        return {};
    }
    return ParseHistoryRecords(bytes, DataFileText());
}

bool IsFixFilePath(const std::string& path) {
    const std::string folder = shell::DataPath("data") + "\\";
    if (path.size() <= folder.size() ||
        ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.data(),
                         static_cast<int>(folder.size()), folder.data(),
                         static_cast<int>(folder.size())) != CSTR_EQUAL) {
        return false;
    }
    const std::string name = path.substr(folder.size());
    if (name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c)) {
            return false;
        }
    }
    return true;
}

std::vector<HistoryRecord> ListedFixes() {
    std::vector<HistoryRecord> listed;
    for (auto& record : ReadHistory()) {
        if (!IsFixFilePath(record.fixFilePath) || FileExists(record.fixFilePath)) {
            listed.push_back(std::move(record));
        }
    }
    return listed;
}

ReadOutcome ReadFixFile(const std::string& fixFilePath, std::vector<engine::StartupItem>& items,
                        DWORD* error) {
    if (!IsFixFilePath(fixFilePath)) {
        if (error) {
            *error = ERROR_ACCESS_DENIED;
        }
        return ReadOutcome::Failed;
    }
    std::string bytes;
    const ReadOutcome outcome = ReadWholeRecords(fixFilePath, kFixedItemRecordSize, bytes, error);
    if (outcome != ReadOutcome::Read) {
        return outcome;
    }
    items.clear();
    for (auto& record : ParseFixedItemRecords(bytes, DataFileText())) {
        engine::StartupItem item;
        item.name = std::move(record.name);
        item.command = std::move(record.command);
        item.location = std::move(record.location);
        item.enabled = false;
        items.push_back(std::move(item));
    }
    return outcome;
}

bool RewriteFixFile(const std::string& fixFilePath,
                    const std::vector<engine::StartupItem>& remaining) {
    DataFolderLock lock;
    if (!lock.held() || !IsFixFilePath(fixFilePath)) {
        return false;
    }
    if (remaining.empty()) {
        return ::DeleteFileA(fixFilePath.c_str()) || !FileExists(fixFilePath);
    }
    std::string contents;
    for (const auto& item : remaining) {
        contents += EncodeItem(item);
    }
    return ReplaceFileContents(fixFilePath, contents);
}

FixFileChange RemoveFromFixFile(const std::string& fixFilePath,
                                const std::vector<engine::StartupItem>& restored) {
    DataFolderLock lock;
    std::vector<engine::StartupItem> items;
    if (!lock.held() || ReadFixFile(fixFilePath, items) != ReadOutcome::Read) {
        return FixFileChange::Failed;
    }
    // Read again under the lock: another program may have restored entries of this fix since
    // the caller read it.
    for (const auto& gone : restored) {
        for (auto it = items.begin(); it != items.end(); ++it) {
            if (it->name == gone.name && it->location == gone.location &&
                it->command == gone.command) {
                items.erase(it);
                break;
            }
        }
    }
    if (items.empty()) {
        return ::DeleteFileA(fixFilePath.c_str()) || !FileExists(fixFilePath)
                   ? FixFileChange::Deleted
                   : FixFileChange::Failed;
    }
    std::string contents;
    for (const auto& item : items) {
        contents += EncodeItem(item);
    }
    return ReplaceFileContents(fixFilePath, contents) ? FixFileChange::Written
                                                      : FixFileChange::Failed;
}

}  // namespace history
