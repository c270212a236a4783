#pragma once
// Files of fixed-size records on disk: reading the whole records, appending after them, and
// replacing a file's contents without a moment in which it is lost.

#include "history/record_codec.h"
#include "platform/unique_any.h"

#include <string>
#include <string_view>

namespace history {

// The texts of the data files: the system's legacy ANSI code page (not the UTF-8 of the
// process's manifest), UTF-8 behind the marker for the texts that code page can't hold.
const FieldText& DataFileText();

bool FileExists(const std::string& path);

enum class ReadOutcome { Read, Missing, Failed };

// The bytes of every whole record; a trailing fragment (a write cut short) is left out.
// error gets GetLastError() when the file could not be opened.
ReadOutcome ReadWholeRecords(const std::string& path, size_t recordSize, std::string& bytes,
                             DWORD* error = nullptr);

// A record file opened for appending. A trailing fragment is cut off first, so that every
// record appended lands on a record boundary.
class RecordAppender {
public:
    // Opens the file, creating it when missing and never truncating whole records.
    bool OpenExisting(const std::string& path, size_t recordSize);
    // Creates a new, empty file; fails when the name is taken.
    bool CreateNew(const std::string& path, DWORD* error = nullptr);

    bool Append(std::string_view record);
    // Puts what was written on the disk itself.
    bool Flush();
    void Close() { file_.reset(); }
    bool IsOpen() const { return static_cast<bool>(file_); }

private:
    platform::unique_hfile file_;
};

// Writes the contents to a new file beside it, flushes it and only then puts it in the old
// one's place. On failure the old file is kept as it was.
bool ReplaceFileContents(const std::string& path, std::string_view contents);

}  // namespace history
