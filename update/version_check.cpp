#include "update/version_check.h"

#include "shell/core/settings_key.h"
#include "update/program_version.h"
#include "update/site_config.h"
#include "update/url_fetch.h"
#include "update/version_answer.h"
#include "update/version_compare.h"

namespace update {

std::optional<std::string> QueryLatestVersion() {
    return LatestVersionOfAnswer(FetchUrlText(VersionCheckUrl()));
}

bool CheckForUpdate(int skip) {
    if (skip == 1) {
        return false;
    }
    const auto latest = QueryLatestVersion();
    return latest && IsNewerVersion(GetProgramVersion(), *latest);
}

int StartupCheckSkip(bool startedAtLogon) {
    return startedAtLogon ? 0 : shell::ReadSetting("strtupdates", 0);
}

}  // namespace update
