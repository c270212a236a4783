#include "history/time_text.h"

#include "platform/clock.h"

#include <cstdio>

namespace history {

namespace {
std::string Format(std::int64_t utcSeconds, const char* pattern) {
    SYSTEMTIME local;
    if (!platform::LocalTimeOf(utcSeconds, local)) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, pattern, local.wMonth, local.wDay, local.wYear, local.wHour,
                  local.wMinute, local.wSecond);
    return text;
}
}  // namespace

std::string DisplayTimeText(std::int64_t utcSeconds) {
    return Format(utcSeconds, "%02u/%02u/%04u %02u:%02u:%02u");
}

std::string CurrentTimeText() { return DisplayTimeText(platform::CurrentUnixTime()); }

std::string FixFileStamp(std::int64_t utcSeconds) {
    return Format(utcSeconds, "%02u%02u%04u%02u%02u%02u");
}

}  // namespace history
