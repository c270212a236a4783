#include "platform/file_search.h"

#include "platform/text_codec.h"

namespace platform {

FileSearch::FileSearch(const std::string& pattern) : pattern_(pattern) {}

bool FileSearch::Next() {
    if (!started_) {
        started_ = true;
        find_.reset(::FindFirstFileW(text::Wide(pattern_).c_str(), &data_));
        return static_cast<bool>(find_);
    }
    if (!find_) {
        return false;
    }
    if (!::FindNextFileW(find_.get(), &data_)) {
        find_.reset();
        return false;
    }
    return true;
}

std::string FileSearch::Name() const { return text::Narrow(data_.cFileName); }

}  // namespace platform
