#pragma once
// The machine's answers for one fill of a startup list, where thousands of commands may name
// files in the same few folders and most of those files may be missing (left behind by
// uninstalled programs). Each folder is listed once, and whether a file is there is answered
// from that listing: asking the file system for each missing name costs far more (under Wine a
// case-insensitive search of the folder each time). A file made or removed while the fill runs
// shows at the next fill. Safe from several threads.

#include "publisher/machine_lookups.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>

namespace publisher {

class FolderListingLookups : public MachineLookups {
public:
    bool IsFile(const std::string& path) const override;

private:
    struct Listing {
        bool listed = false;  // false: the folder could not be read, ask for each file
        std::unordered_set<std::wstring> files;  // upper-case names, long and short
    };
    std::shared_ptr<const Listing> ListingOf(const std::wstring& folder) const;

    mutable std::mutex mutex_;
    mutable std::map<std::wstring, std::shared_ptr<const Listing>> listings_;
};

}  // namespace publisher
