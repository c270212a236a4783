#include "cleanup/automatic_run.h"

#include "engine/switch_reports.h"
#include "engine/switching.h"
#include "history/fix_files.h"

namespace cleanup {

AutomaticRunOutcome RunAutomaticFix(const engine::StartupItemArray& items,
                                    const AutomaticRunProgress& progress) {
    AutomaticRunOutcome outcome;
    history::FixWriter fix;
    const bool begun = fix.Begin();
    bool everyRecordWritten = begun;
    for (size_t i = 0; i < items.size(); ++i) {
        const engine::StartupItem& entry = items[i];
        if (progress.entryStarted) {
            progress.entryStarted(entry, i);
        }
        if (!entry.enabled) {
            continue;
        }
        if (!history::Recordable(entry)) {
            engine::reports::TooLongToRecord(entry.name, engine::ReportStyle::Free());
            continue;
        }
        if (!engine::DisableStartupItem(entry, engine::ReportStyle::Free())) {
            continue;
        }
        everyRecordWritten = fix.Record(entry) && everyRecordWritten;
        ++outcome.fixed;
    }
    if (begun) {
        outcome.recorded =
            fix.Finish(history::InsertNumber(history::kAutomaticFixRemarks, outcome.fixed),
                       history::kAutomaticFixAction) &&
            everyRecordWritten;
        outcome.fixFilePath = fix.FixFilePath();
    }
    if (progress.finished) {
        progress.finished(items.size(), outcome.fixed);
    }
    return outcome;
}

}  // namespace cleanup
