#pragma once
// Which language/code-page pair of a version resource's translation table to read.
// Window-free, so it also builds natively.

#include <cstdint>
#include <vector>

namespace controls {

struct Translation {
    std::uint16_t language;
    std::uint16_t codePage;
};

// The pair for the user's language (exact, then the same primary language), else a neutral
// one (language 0), else English, else the first. Index into table, or -1 when it is empty.
int ChooseTranslation(const std::vector<Translation>& table, std::uint16_t userLanguage);

}  // namespace controls
