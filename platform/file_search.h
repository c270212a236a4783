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
    const WIN32_FIND_DATAA& Current() const { return data_; }
    bool IsDirectory() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

private:
    std::string pattern_;
    unique_hfind find_;
    WIN32_FIND_DATAA data_{};
    bool started_ = false;
};

}  // namespace platform
