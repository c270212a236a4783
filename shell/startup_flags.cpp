#include "shell/startup_flags.h"

#include "platform/web_page.h"
#include "update/site_config.h"

namespace shell {

namespace {
bool startedAtLogonFlag = false;
}

StartupFlags ReadStartupFlags(std::string_view commandLine) {
    StartupFlags flags;
    flags.openWhatsNew = commandLine.find("-wnw") != std::string_view::npos;
    flags.startedAtLogon = commandLine.find("-t") != std::string_view::npos;
    return flags;
}

StartupFlags ActOnCommandLine(std::string_view commandLine) {
    const StartupFlags flags = ReadStartupFlags(commandLine);
    if (flags.openWhatsNew) {
        // Started elevated by the install step: the browser must not inherit that.
        platform::OpenWebPageUnelevated(update::WhatsNewPageUrl());
    }
    if (flags.startedAtLogon) {
        SetStartedAtLogon(true);
    }
    return flags;
}

bool StartedAtLogon() { return startedAtLogonFlag; }

void SetStartedAtLogon(bool startedAtLogon) { startedAtLogonFlag = startedAtLogon; }

}  // namespace shell
