#pragma once
// Which notify-icon record the shell library understands, by its version.

namespace shell {

enum class NotifyRecordKind {
    kVersion1,  // the first record: icon, tip of 64 characters
    kVersion2,  // shell 5: balloons, tip of 128 characters
    kVersion3,  // shell 6.0 before build 6000: the item's GUID
    kFull,      // shell 6.0 build 6000 and later: the balloon's own icon
};

// major.minor.build of shell32 (all 0 when the query failed).
NotifyRecordKind NotifyRecordKindFor(unsigned major, unsigned minor, unsigned build);

}  // namespace shell
