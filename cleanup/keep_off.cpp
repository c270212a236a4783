#include "cleanup/keep_off.h"

#include "cleanup/ignore_list.h"

namespace cleanup {

history::ManualSaveOutcome KeepReturnedOff(std::vector<engine::StartupItem>& entries,
                                           engine::ReportStyle style) {
    std::vector<engine::StartupItem> wanted;
    for (const engine::StartupItem& entry : entries) {
        if (entry.enabled && !IsIgnored(entry.name)) {
            wanted.push_back(entry);
        }
    }
    if (wanted.empty()) {
        return {};
    }
    const history::ManualSaveOutcome outcome = history::KeepSwitchedOff(wanted, style);
    for (engine::StartupItem& entry : entries) {
        for (const engine::StartupItem& done : wanted) {
            if (!done.enabled && done.name == entry.name && done.location == entry.location) {
                entry.enabled = false;
            }
        }
    }
    return outcome;
}

}  // namespace cleanup
