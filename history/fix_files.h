#pragma once
// data\history.dat and the fix files: writing one fix, and reading them back.

#include "engine/startup_item.h"
#include "history/record_file.h"
#include "history/records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace history {

inline constexpr char kAutomaticFixAction[] = "Automatic Fix";
inline constexpr char kManualFixAction[] = "Manual Fix";
inline constexpr char kAutomaticFixRemarks[] = "%1!d! Scrap programs fixed successfully";
inline constexpr char kManualFixRemarks[] = "%1!d! Programs fixed successfully";
// Entries that put themselves back and were switched off again without asking.
inline constexpr char kKeptOffAction[] = "Kept Off";
inline constexpr char kKeptOffRemarks[] = "%1!d! Programs switched off again";

// The pattern with "%1!d!" replaced by the number, as insert formatting does.
std::string InsertNumber(const std::string& pattern, long long number);

std::string HistoryFilePath();

// The fix file of a time: data\ + "%m%d%Y%H%M%S" of its local time + ".dat".
std::string FixFilePathOf(std::int64_t utcSeconds);

// Whether the entry's name, command and location fit a fix file's record whole. An entry that
// doesn't is not switched off: it could not be switched back on from the history.
bool Recordable(const engine::StartupItem& item);

// One fix being written: its fix file open for appending, then one history record.
class FixWriter {
public:
    // Takes the clock reading and creates the fix file. When a fix of the same second already
    // has that name, the next free second is taken (and stored as the fix's time), so no fix
    // file is ever emptied by a later one.
    bool Begin();
    // Appends one record for an entry the fix switched off.
    bool Record(const engine::StartupItem& item);
    // Flushes and closes the fix file, then appends the history record and flushes it.
    bool Finish(const std::string& remarks, const std::string& action);
    // Closes and deletes the fix file; no history record.
    void Discard();

    std::int64_t FixTime() const { return fixTime_; }
    const std::string& FixFilePath() const { return fixFilePath_; }

private:
    RecordAppender fixFile_;
    std::int64_t fixTime_ = 0;
    std::string fixFilePath_;
};

// True when path names a plain file directly inside the data folder: history.dat is a record of
// where a fix file was, not a license to read, rewrite or delete any path (a UNC path, a device,
// ".." or another folder). Only such paths are opened, rewritten or deleted.
bool IsFixFilePath(const std::string& path);

// Every history record in file order; empty when the file is missing or can't be opened.
std::vector<HistoryRecord> ReadHistory();
// The records whose fix file still exists: the fixes the history page lists. A record whose
// path is no fix file path is listed without being looked at.
std::vector<HistoryRecord> ListedFixes();

// The entries of a fix file as switched-off records. error gets the cause when the file
// exists but can't be opened (ERROR_ACCESS_DENIED for a path that is no fix file path).
ReadOutcome ReadFixFile(const std::string& fixFilePath, std::vector<engine::StartupItem>& items,
                        DWORD* error = nullptr);

// Writes the entries that remain; deletes the fix file when none does.
bool RewriteFixFile(const std::string& fixFilePath,
                    const std::vector<engine::StartupItem>& remaining);

enum class FixFileChange { Written, Deleted, Failed };

// Takes one record of each restored entry out of the fix file as it is now, under the data
// folder lock; deletes the file when none remains.
FixFileChange RemoveFromFixFile(const std::string& fixFilePath,
                                const std::vector<engine::StartupItem>& restored);

}  // namespace history
