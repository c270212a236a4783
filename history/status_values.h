#pragma once
// The six status values of the last scan and the last automatic run, under the settings key.

#include <string>

namespace history {

namespace status {
inline constexpr char kScanStatus[] = "scanstatus";  // "0" after a scan, "1" after a run
inline constexpr char kFoundUnwanted[] = "funwanted";
inline constexpr char kCleanedUnwanted[] = "cunwanted";
inline constexpr char kRemaining[] = "remaining";
inline constexpr char kLastScan[] = "lastscan";
inline constexpr char kLastClean[] = "lastclean";
inline constexpr const char* kAll[] = {kScanStatus, kFoundUnwanted, kCleanedUnwanted,
                                       kRemaining,  kLastScan,      kLastClean};
}  // namespace status

// After the automatic fix dialog's scan: lastscan = now, funwanted = found, scanstatus "0".
void StoreScanStatus(int found);
// The Windows startups page's count of its own scan.
void StoreFoundCount(int found);
// After an automatic run over total entries that switched off fixed of them: scanstatus "1",
// cunwanted, remaining = total - fixed, lastclean = now.
void StoreAutomaticRunStatus(int total, int fixed);

}  // namespace history
