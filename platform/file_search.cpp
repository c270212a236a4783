#include "platform/file_search.h"

namespace platform {

FileSearch::FileSearch(const std::string& pattern) : pattern_(pattern) {}

bool FileSearch::Next() {
    if (!started_) {
        started_ = true;
        find_.reset(::FindFirstFileA(pattern_.c_str(), &data_));
        return static_cast<bool>(find_);
    }
    if (!find_) {
        return false;
    }
    if (!::FindNextFileA(find_.get(), &data_)) {
        find_.reset();
        return false;
    }
    return true;
}

}  // namespace platform
