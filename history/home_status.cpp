#include "history/home_status.h"

#include "history/status_values.h"
#include "shell/core/settings_key.h"

#include <cstdlib>

namespace history {
namespace {
constexpr char kNothing[] = " -- ";
constexpr char kNoRunSinceScan[] = "--";
}  // namespace

HomeStatusTexts HomeStatusFor(int found, int cleaned, int scanStatus) {
    HomeStatusTexts texts{kNothing, kNothing};
    if (found == 0 && scanStatus == 1) {
        texts = {std::to_string(cleaned), "0"};
    } else if (found > 0 && scanStatus == 0) {
        texts = {kNoRunSinceScan, std::to_string(found)};
    } else if (found > 0 && scanStatus == 1) {
        texts = {std::to_string(cleaned), std::to_string(found)};
    }
    return texts;
}

HomeStatusTexts ReadHomeStatus() {
    return HomeStatusFor(shell::ReadSetting(status::kFoundUnwanted, 0),
                         shell::ReadSetting(status::kCleanedUnwanted, 0),
                         shell::ReadSetting(status::kScanStatus, 0));
}

int ChooseMaintenanceTip(std::time_t now) {
    std::tm local{};
    if (const std::tm* fields = std::localtime(&now)) {
        local = *fields;
    }
    const auto low = static_cast<unsigned>(static_cast<unsigned long long>(now) & 0xFFFFFFFFu);
    std::srand(low + static_cast<unsigned>(local.tm_year + local.tm_mon + local.tm_mday + 1901));
    return std::rand() % kMaintenanceTipCount;
}

}  // namespace history
