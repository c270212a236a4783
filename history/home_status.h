#pragma once
// What the home page shows of the status values, and the choice of its maintenance tip.

#include <ctime>
#include <string>

namespace history {

struct HomeStatusTexts {
    std::string removed;  // scrap programs removed by the last automatic run
    std::string found;    // scrap programs found by the last scan
};

// From funwanted, cunwanted and scanstatus. " -- " stands for nothing to show; "--" in the
// removed value for a scan that found scrap programs with no automatic run since.
HomeStatusTexts HomeStatusFor(int found, int cleaned, int scanStatus);

// Reads the three values (missing ones count as 0).
HomeStatusTexts ReadHomeStatus();

inline constexpr int kMaintenanceTipCount = 6;

// Seeds the C library's generator from the time and its local calendar fields and draws the
// tip number (0 to 5).
int ChooseMaintenanceTip(std::time_t now);

}  // namespace history
