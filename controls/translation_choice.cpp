#include "controls/translation_choice.h"

namespace controls {

namespace {
constexpr std::uint16_t kPrimaryMask = 0xFF;  // the primary language is the low byte
constexpr std::uint16_t kEnglish = 9;

int FindLanguage(const std::vector<Translation>& table, std::uint16_t language) {
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].language == language) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < table.size(); ++i) {
        if ((table[i].language & kPrimaryMask) == (language & kPrimaryMask)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
}  // namespace

int ChooseTranslation(const std::vector<Translation>& table, std::uint16_t userLanguage) {
    if (table.empty()) {
        return -1;
    }
    for (std::uint16_t language : {userLanguage, std::uint16_t{0}, kEnglish}) {
        const int found = FindLanguage(table, language);
        if (found >= 0) {
            return found;
        }
    }
    return 0;
}

}  // namespace controls
