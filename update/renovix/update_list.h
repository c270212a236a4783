#pragma once
// The update list file "updatetmp.tmp" that the download dialog leaves for the install step:
// line 1 the program folder, then one line per download: the file line of the version answer
// (6 tab-separated fields) followed by a tab and the local name of the download. Window-free:
// it works on the bytes of the file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace renovix {

// One line of the list file, as the install step reads it.
struct ListedFile {
    std::string destination;  // field 0: relative to the program folder
    std::string folder;       // field 1: only its last character counts
    bool isArchive = false;   // field 4: a ZIP to unpack into the program folder
    bool runAfter = false;    // field 5: unsigned, so never acted on
    std::string localName;    // field 6: the download in the temporary folder
    std::string line;         // the whole line as listed
};

struct UpdateList {
    std::string programFolder;
    std::vector<ListedFile> files;  // malformed lines left out
};

// Leading optional blanks and sign, then decimal digits; anything after them is ignored, no
// digits gives 0, and values beyond the range of int stop at its ends.
int LeadingInteger(std::string_view text);

// A file line of the list: exactly 7 fields, else nothing.
std::optional<ListedFile> ParseListedFile(std::string_view line);

// The whole list file as read back in text mode (CR LF or LF line ends). The program folder is
// the first line unless that is shorter than 3 characters, when the second line is taken.
UpdateList ParseUpdateList(std::string_view bytes);

// The list file's text: the program folder, then each remembered line (a file line of the
// answer, a tab and the local name), each ended with CR LF as a text-mode write gives.
std::string FormatUpdateList(std::string_view programFolder,
                             const std::vector<std::string>& listedLines);

// Where a plain download goes: the program folder and the destination name joined with exactly
// one backslash, whatever the folder field holds.
std::string DestinationOf(std::string_view programFolder, const ListedFile& file);

// The version answer as the download dialog checks it before it downloads anything.
struct AnswerHeader {
    enum Outcome {
        kReady,         // the header is good; latestVersion and fileCount are set
        kTooManyLines,  // more than 4 lines
        kNothingToDo,   // line 0 is not a number greater than 0
        kBadHeader,     // the header line has not exactly 4 fields
    } outcome = kBadHeader;
    std::string latestVersion;
    int fileCount = 0;
};
AnswerHeader ReadAnswerHeader(std::string_view answer);

// File line i (0-based) of the answer, when the answer has it; the fields are checked by
// SplitFileLine.
std::optional<std::string_view> AnswerFileLine(std::string_view answer, int index);

// The largest file an update may announce (and the largest download the install step reads).
inline constexpr unsigned long kMaxDownloadBytes = 256ul << 20;

// The fields of a file line of the answer: exactly 6 and a size from 0 to kMaxDownloadBytes,
// else nothing.
struct AnswerFile {
    std::string_view line;   // as received, to be copied into the list
    std::string_view url;    // field 3
    unsigned long size = 0;  // field 2, for the progress text and the size check
};
std::optional<AnswerFile> SplitFileLine(std::string_view line);

// Downloads come over https; plain http only from the loopback address 127.0.0.1 (the tests'
// server), with or without a port.
bool IsAllowedDownloadUrl(std::string_view url);

}  // namespace renovix
