#include "history/manual_save.h"

#include "engine/known_items.h"
#include "engine/switch_reports.h"
#include "history/fix_files.h"

namespace history {

namespace {

ManualSaveOutcome SaveChanges(const std::vector<ManualChange>& changes, engine::ReportStyle style,
                              const char* remarks, const char* action) {
    ManualSaveOutcome outcome;
    FixWriter fix;
    const bool begun = fix.Begin();
    bool everyRecordWritten = begun;
    for (const ManualChange& change : changes) {
        engine::StartupItem& item = *change.item;
        ++outcome.changed;
        if (change.switchOn) {
            // Known before it is back, so a monitor pass running meanwhile never reports it.
            engine::StartupItem seen = item;
            seen.enabled = true;
            engine::KnownStartupItems().AppendCopy(seen);
            if (engine::EnableStartupItem(item, style)) {
                item.enabled = true;
                ++outcome.switchedOn;
            }
            continue;
        }
        // Only an entry its fix file can hold whole is switched off: the history must be able
        // to switch it back on.
        if (!Recordable(item)) {
            engine::reports::TooLongToRecord(item.name, style);
            continue;
        }
        if (engine::DisableStartupItem(item, style)) {
            item.enabled = false;
            everyRecordWritten = fix.Record(item) && everyRecordWritten;
            ++outcome.switchedOff;
        }
    }
    if (!begun) {
        return outcome;
    }
    if (outcome.switchedOff == 0) {
        fix.Discard();
        return outcome;
    }
    // The history record is written even when an entry's record was not: the entries that are
    // in the fix file can still be switched back on from it.
    outcome.recorded =
        fix.Finish(InsertNumber(remarks, outcome.switchedOff), action) && everyRecordWritten;
    return outcome;
}

}  // namespace

ManualSaveOutcome SaveManualChanges(const std::vector<ManualChange>& changes,
                                    engine::ReportStyle style) {
    return SaveChanges(changes, style, kManualFixRemarks, kManualFixAction);
}

ManualSaveOutcome KeepSwitchedOff(std::vector<engine::StartupItem>& entries,
                                  engine::ReportStyle style) {
    std::vector<ManualChange> changes;
    for (engine::StartupItem& entry : entries) {
        changes.push_back({&entry, false});
    }
    return SaveChanges(changes, style, kKeptOffRemarks, kKeptOffAction);
}

}  // namespace history
