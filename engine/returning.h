#pragma once
// Entries that put themselves back: an active Run value or shortcut whose switched-off record
// of the same name and source is still in the store, with the same program's command
// (engine/returning_rules.h). Scheduled tasks keep no store record and never come back here.

#include "engine/startup_item.h"

#include <vector>

namespace engine {

// Marks every active entry of the list that came back (returned) and drops the store records
// they stand for, so the program is listed once. The Startup folders are looked up only when
// an active shortcut shares a name with a stored one.
void MarkReturningEntries(StartupItemArray& items);

// Copies of the entries marked so, in list order.
std::vector<StartupItem> ReturnedEntries(const StartupItemArray& items);

}  // namespace engine
