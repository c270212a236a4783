#include "shell/core/tray_record_size.h"

namespace shell {

NotifyRecordKind NotifyRecordKindFor(unsigned major, unsigned minor, unsigned build) {
    if (major > 6 || (major == 6 && minor != 0)) {
        return NotifyRecordKind::kFull;
    }
    if (major == 6) {
        return build >= 6000 ? NotifyRecordKind::kFull : NotifyRecordKind::kVersion3;
    }
    return major == 5 ? NotifyRecordKind::kVersion2 : NotifyRecordKind::kVersion1;
}

}  // namespace shell
