#include "cleanup/ignore_list.h"

#include "engine/text.h"
#include "history/data_lock.h"
#include "history/record_file.h"
#include "shell/core/data_path.h"

namespace cleanup {

namespace {

std::vector<std::string>& Names() {
    static std::vector<std::string> names;
    return names;
}

std::string Encode(const IgnoreRecord& record) {
    return EncodeIgnoreRecord(record, history::DataFileText());
}

}  // namespace

std::string IgnoreFilePath() { return shell::DataPath("data\\ignore.dat"); }

std::vector<IgnoreRecord> ReadIgnoreRecords() {
    std::string bytes;
    if (history::ReadWholeRecords(IgnoreFilePath(), kIgnoreRecordSize, bytes) !=
        history::ReadOutcome::Read) {
        return {};
    }
    return ParseIgnoreRecords(bytes, history::DataFileText());
}

void LoadIgnoreList() {
    Names().clear();
    for (auto& record : ReadIgnoreRecords()) {
        Names().push_back(std::move(record.name));
    }
}

IgnoreResult AddToIgnoreList(const engine::StartupItem& item) {
    if (!IgnoreNameFits(item.name, history::DataFileText())) {
        return IgnoreResult::NameTooLong;
    }
    shell::PrepareDataFolder();
    history::DataFolderLock lock;
    history::RecordAppender file;
    if (!lock.held() || !file.OpenExisting(IgnoreFilePath(), kIgnoreRecordSize) ||
        !file.Append(Encode({item.name, item.command})) || !file.Flush()) {
        return IgnoreResult::WriteFailed;
    }
    Names().push_back(item.name);
    return IgnoreResult::Done;
}

bool IsIgnored(const std::string& name) {
    for (const auto& ignored : Names()) {
        if (engine::EqualsNoCase(ignored, name)) {
            return true;
        }
    }
    return false;
}

const std::vector<std::string>& IgnoredNames() { return Names(); }

namespace {

// Writes the records as the file's whole contents; the caller holds the data-folder lock.
IgnoreResult WriteIgnoreFile(const std::vector<IgnoreRecord>& records) {
    std::string contents;
    for (const auto& record : records) {
        if (!IgnoreNameFits(record.name, history::DataFileText())) {
            return IgnoreResult::NameTooLong;
        }
        contents += Encode(record);
    }
    const std::string path = IgnoreFilePath();
    if (records.empty()) {
        if (!::DeleteFileA(path.c_str()) && history::FileExists(path)) {
            return IgnoreResult::WriteFailed;
        }
    } else {
        shell::PrepareDataFolder();
        if (!history::ReplaceFileContents(path, contents)) {
            return IgnoreResult::WriteFailed;
        }
    }
    Names().clear();
    for (const auto& record : records) {
        Names().push_back(record.name);
    }
    return IgnoreResult::Done;
}

}  // namespace

IgnoreResult ReplaceIgnoreList(const std::vector<IgnoreRecord>& records) {
    history::DataFolderLock lock;
    return lock.held() ? WriteIgnoreFile(records) : IgnoreResult::WriteFailed;
}

std::vector<IgnoreRecord> IgnoreRows(std::vector<IgnoreRecord> records) {
    std::vector<IgnoreRecord> rows;
    for (auto& record : records) {
        bool shown = false;
        for (const auto& row : rows) {
            shown = shown || engine::EqualsNoCase(row.name, record.name);
        }
        if (!shown) {
            rows.push_back(std::move(record));
        }
    }
    return rows;
}

IgnoreResult RemoveFromIgnoreList(const std::vector<std::string>& names) {
    history::DataFolderLock lock;
    if (!lock.held()) {
        return IgnoreResult::WriteFailed;
    }
    // The file as it is now, not as the caller last read it: a record that another program
    // added since then stays.
    std::vector<IgnoreRecord> remaining;
    for (auto& row : IgnoreRows(ReadIgnoreRecords())) {
        bool removed = false;
        for (const auto& name : names) {
            removed = removed || engine::EqualsNoCase(row.name, name);
        }
        if (!removed) {
            remaining.push_back(std::move(row));
        }
    }
    return WriteIgnoreFile(remaining);
}

}  // namespace cleanup
