// Feeds arbitrary pairs of commands and locations (as other programs write them) to the rule
// that says whether an entry came back. A command always matches itself and the rule is
// symmetric.
#include "engine/returning_rules.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\n');
    const std::string_view a = input.substr(0, split);
    const std::string_view b = split == std::string_view::npos ? a : input.substr(split + 1);
    if (!engine::SameProgramCommand(a, a) ||
        engine::SameProgramCommand(a, b) != engine::SameProgramCommand(b, a) ||
        engine::SameSourceLocation(a, b) != engine::SameSourceLocation(b, a)) {
        __builtin_trap();
    }
    return 0;
}
