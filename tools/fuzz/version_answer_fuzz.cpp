// Feeds arbitrary bytes to the reader of the version server's answer and to the version
// comparison, which must be a consistent order.
#include "update/version_answer.h"
#include "update/version_compare.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto latest = update::LatestVersionOfAnswer(bytes)) {
        update::IsNewerVersion("1.0.0.0", *latest);
    }
    const size_t half = bytes.size() / 2;
    const std::string_view a = bytes.substr(0, half), b = bytes.substr(half);
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    if (sign(update::CompareVersions(a, b)) != -sign(update::CompareVersions(b, a)) ||
        update::CompareVersions(a, a) != 0) {
        __builtin_trap();
    }
    return 0;
}
