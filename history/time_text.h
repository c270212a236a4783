#pragma once
// Times as the program writes them: local time as text.

#include <cstdint>
#include <string>

namespace history {

// "%m/%d/%Y %H:%M:%S" of the local time; empty text when it can't be worked out.
std::string DisplayTimeText(std::int64_t utcSeconds);
// The same for the clock's current reading.
std::string CurrentTimeText();

// "%m%d%Y%H%M%S" of the local time, as fix files are named; empty when it can't be worked out.
std::string FixFileStamp(std::int64_t utcSeconds);

}  // namespace history
