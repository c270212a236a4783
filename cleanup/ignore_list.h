#pragma once
// The ignore list: data\ignore.dat and the in-memory list of its names, kept in step. Entries
// on it stay active; the scrap scan only no longer reports them.

#include "cleanup/ignore_record.h"
#include "engine/startup_item.h"

#include <string>
#include <vector>

namespace cleanup {

std::string IgnoreFilePath();

// Once at start: the names of the file's records, in file order (an empty list without it).
void LoadIgnoreList();

enum class IgnoreResult {
    Done,
    NameTooLong,  // the name field could never hold it, so the entry would never match
    WriteFailed,
};

// Appends one record (the command cut to its field if need be) and the name to the list;
// Done when both happened.
IgnoreResult AddToIgnoreList(const engine::StartupItem& item);

// Whether the in-memory list holds the name, compared without regard to case.
bool IsIgnored(const std::string& name);

// The in-memory names, in order; a name may be there more than once.
const std::vector<std::string>& IgnoredNames();

// The records of the file in file order; none when it does not exist.
std::vector<IgnoreRecord> ReadIgnoreRecords();

// Makes the file and the list hold exactly these records, in order; an empty list deletes the
// file. The new file replaces the old one only once it is complete.
IgnoreResult ReplaceIgnoreList(const std::vector<IgnoreRecord>& records);

// The rows the ignore-list page shows: each name once, with its first record's command.
std::vector<IgnoreRecord> IgnoreRows(std::vector<IgnoreRecord> records);

// Takes the names off the list as the page does (the file is rewritten from the rows that
// remain), reading the file afresh under the data-folder lock so that a record another
// program added meanwhile is kept. Names that are not on the list change nothing.
IgnoreResult RemoveFromIgnoreList(const std::vector<std::string>& names);

}  // namespace cleanup
