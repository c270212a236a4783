#pragma once
// The failure messages of the switch operations, in both report styles.

#include "engine/switching.h"

#include <string>

namespace engine::reports {

void DisableFailed(const std::string& name, ReportStyle style);
// "Failed to enable %s, error = %d".
void EnableFailedWithCode(const std::string& name, LSTATUS code, ReportStyle style);
void EnableFailed(const std::string& name, ReportStyle style);
// The entry was left on: its texts don't fit the record that would switch it back on.
// The stored copy was not put back: the entry is on startup again (it put itself back), and
// switching the older copy on would overwrite it.
void AlreadyBack(const std::string& name, ReportStyle style);
void TooLongToRecord(const std::string& name, ReportStyle style);

}  // namespace engine::reports
