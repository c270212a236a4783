#pragma once
// The wall clock, with a seam so that tests can fix the time.

#include <windows.h>

#include <cstdint>
#include <functional>

namespace platform {

// Seconds since 1970 (UTC).
std::int64_t CurrentUnixTime();

// Local time of one reading of the clock; false when it can't be worked out.
bool CurrentLocalTime(SYSTEMTIME& local);

// Local time of a UTC time (seconds since 1970); false when it can't be worked out.
bool LocalTimeOf(std::int64_t utcSeconds, SYSTEMTIME& local);

// While set, the clock reads this UTC time instead (seconds since 1970). Null restores it.
void SetClockOverride(std::function<std::int64_t()> utcSeconds);

}  // namespace platform
