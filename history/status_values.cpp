#include "history/status_values.h"

#include "history/time_text.h"
#include "shell/core/settings_key.h"

namespace history {

void StoreScanStatus(int found) {
    shell::WriteSetting(CurrentTimeText().c_str(), status::kLastScan);
    StoreFoundCount(found);
    shell::WriteSetting("0", status::kScanStatus);
}

void StoreFoundCount(int found) { shell::WriteSetting(found, status::kFoundUnwanted); }

void StoreAutomaticRunStatus(int total, int fixed) {
    shell::WriteSetting("1", status::kScanStatus);
    shell::WriteSetting(fixed, status::kCleanedUnwanted);
    shell::WriteSetting(total - fixed, status::kRemaining);
    shell::WriteSetting(CurrentTimeText().c_str(), status::kLastClean);
}

}  // namespace history
