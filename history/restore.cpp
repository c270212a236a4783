#include "history/restore.h"

#include "engine/known_items.h"
#include "engine/switching.h"
#include "history/fix_files.h"

namespace history {

RestoreOutcome RestoreFixEntries(const std::string& fixFilePath,
                                 const std::vector<engine::StartupItem>& entries,
                                 const std::vector<bool>& chosen) {
    RestoreOutcome outcome;
    // An entry that could not be put back is still switched off: the fix file keeps its record.
    std::vector<bool> keep(entries.size(), true);
    for (size_t i = entries.size(); i-- > 0;) {
        if (i >= chosen.size() || !chosen[i]) {
            continue;
        }
        // The monitor must not announce the entry as new once it is back.
        engine::StartupItem seen = entries[i];
        seen.enabled = true;
        engine::KnownStartupItems().AppendCopy(seen);
        if (engine::EnableStartupItem(entries[i], engine::ReportStyle::Free())) {
            keep[i] = false;
        } else {
            ++outcome.failed;
        }
        ++outcome.restored;
    }
    if (outcome.restored == 0) {
        return outcome;
    }
    std::vector<engine::StartupItem> restored;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!keep[i]) {
            restored.push_back(entries[i]);
        }
    }
    if (restored.empty()) {
        outcome.fixFileWritten = true;  // unchanged: it still holds every entry
        return outcome;
    }
    const FixFileChange change = RemoveFromFixFile(fixFilePath, restored);
    outcome.fixFileDeleted = change == FixFileChange::Deleted;
    outcome.fixFileWritten = change == FixFileChange::Written;
    return outcome;
}

}  // namespace history
