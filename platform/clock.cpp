#include "platform/clock.h"

#include <cstdint>
#include <mutex>

namespace platform {

namespace {
std::mutex overrideLock;
std::function<std::int64_t()>& Override() {
    static std::function<std::int64_t()> fn;
    return fn;
}

constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr std::int64_t kFileTimeTo1970Seconds = 11'644'473'600;

FILETIME FileTimeOfUnix(std::int64_t seconds) {
    const auto ticks =
        static_cast<std::uint64_t>((seconds + kFileTimeTo1970Seconds) * kFileTimeTicksPerSecond);
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::int64_t UnixOfFileTime(const FILETIME& ft) {
    const std::uint64_t ticks = (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / kFileTimeTicksPerSecond) - kFileTimeTo1970Seconds;
}
}  // namespace

std::int64_t CurrentUnixTime() {
    {
        std::lock_guard lock(overrideLock);
        if (Override()) {
            return Override()();
        }
    }
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return UnixOfFileTime(now);
}

bool CurrentLocalTime(SYSTEMTIME& local) { return LocalTimeOf(CurrentUnixTime(), local); }

bool LocalTimeOf(std::int64_t utcSeconds, SYSTEMTIME& local) {
    // FILETIME starts in 1601 and counts 100 ns ticks in 64 bits.
    constexpr std::int64_t kLatest = INT64_MAX / kFileTimeTicksPerSecond - kFileTimeTo1970Seconds;
    if (utcSeconds < -kFileTimeTo1970Seconds || utcSeconds > kLatest) {
        return false;
    }
    const FILETIME utc = FileTimeOfUnix(utcSeconds);
    FILETIME localFile;
    SYSTEMTIME result;
    if (!::FileTimeToLocalFileTime(&utc, &localFile) ||
        !::FileTimeToSystemTime(&localFile, &result)) {
        return false;
    }
    local = result;
    return true;
}

void SetClockOverride(std::function<std::int64_t()> utcSeconds) {
    std::lock_guard lock(overrideLock);
    Override() = std::move(utcSeconds);
}

}  // namespace platform
