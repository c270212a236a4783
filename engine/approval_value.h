#pragma once
// The value Task Manager keeps for each startup entry: 12 bytes, the first of which says
// whether the entry is switched off (bit 0 set: 03, 07) or on (02, 06); bytes 4 to 11 hold the
// time it was switched off. Takes bytes only, so it builds without <windows.h>.

#include <string>
#include <string_view>

namespace engine {

inline constexpr size_t kApprovalValueSize = 12;

// Only the known switched-off forms count as off: any other size or first byte is read as
// on, so that no odd value can hide an entry.
inline bool IsApprovalOff(std::string_view data, bool binaryType) {
    if (!binaryType || data.size() != kApprovalValueSize) {
        return false;
    }
    const auto first = static_cast<unsigned char>(data[0]);
    return first == 0x03 || first == 0x07;
}

// The switched-on form Task Manager writes: 02 followed by zeros.
inline std::string ApprovalOnValue() {
    std::string value(kApprovalValueSize, '\0');
    value[0] = '\x02';
    return value;
}

}  // namespace engine
