#pragma once
// Walks the files that match a FindFirstFile pattern, closing the search at the end of scope.

#include "platform/unique_any.h"

#include <string>

namespace platform {

class FileSearch {
public:
    explicit FileSearch(const std::string& pattern);
    // Moves to the next match; false when there is none (the first call gives the first match).
    bool Next();
    // The match's file name in the program's code page.
    std::string Name() const;
    bool IsDirectory() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

private:
    std::string pattern_;
    unique_hfind find_;
    // The wide form: a name of MAX_PATH characters may take more than MAX_PATH bytes in UTF-8.
    WIN32_FIND_DATAW data_{};
    bool started_ = false;
};

}  // namespace platform
