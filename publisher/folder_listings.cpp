#include "publisher/folder_listings.h"

#include "platform/text_codec.h"
#include "platform/unique_any.h"

#include <windows.h>

namespace publisher {
namespace {

std::wstring Upper(std::wstring text) {
    ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

std::shared_ptr<const FolderListingLookups::Listing> FolderListingLookups::ListingOf(
    const std::wstring& folder) const {
    const std::wstring key = Upper(folder);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (const auto found = listings_.find(key); found != listings_.end()) {
            return found->second;
        }
    }
    // Listed outside the lock; a second worker listing the same folder meanwhile costs one
    // listing more, never a wrong answer.
    auto listing = std::make_shared<Listing>();
    WIN32_FIND_DATAW found{};
    const platform::unique_hfind find(::FindFirstFileExW(
        (folder + L"\\*").c_str(), FindExInfoStandard, &found, FindExSearchNameMatch, nullptr, 0));
    if (find) {
        listing->listed = true;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                listing->files.insert(Upper(found.cFileName));
                if (found.cAlternateFileName[0]) {
                    listing->files.insert(Upper(found.cAlternateFileName));
                }
            }
        } while (::FindNextFileW(find.get(), &found));
    } else {
        // A folder that isn't there holds no files; one that can't be read is asked per file.
        const DWORD error = ::GetLastError();
        listing->listed = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return listings_.try_emplace(key, std::move(listing)).first->second;
}

bool FolderListingLookups::IsFile(const std::string& path) const {
    const std::wstring native = platform::text::Wide(NativePath(path));
    const size_t slash = native.find_last_of(L"\\/");
    // The file system's own rules for what the listing can't tell: no folder part, a name that
    // Windows trims (trailing dots and blanks) or a pattern.
    if (slash == std::wstring::npos || slash == 0 || slash + 1 == native.size() ||
        native.back() == L'.' || native.back() == L' ' ||
        native.find_first_of(L"*?", slash) != std::wstring::npos) {
        return MachineLookups::IsFile(path);
    }
    const auto listing = ListingOf(native.substr(0, slash));
    if (!listing->listed) {
        return MachineLookups::IsFile(path);
    }
    return listing->files.count(Upper(native.substr(slash + 1))) > 0;
}

}  // namespace publisher
