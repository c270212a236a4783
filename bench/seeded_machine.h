#pragma once
// Fills the prefix with a large, realistic set of startup entries for the benchmarks.

#include <string>
#include <vector>

namespace bench {

struct SeedPlan {
    int runValues = 2000;  // spread over HKCU, HKLM and its 32-bit copy, Run and RunOnce
    int shortcuts = 200;   // split between the user's and the common Startup folder
    // Names given to the first Run values instead of generated ones (catalogue names, say).
    std::vector<std::string> chosenNames;
    // The first Run values switched off into the store; every second of them then put back by
    // "the program" (an entry that came back), so both rows of a returning program are read.
    int switchedOff = 0;
};

// Clears every startup source first.
void SeedMachine(const SeedPlan& plan);

}  // namespace bench
