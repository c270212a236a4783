#include "update/site_config.h"

#include "shell/core/settings_key.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#ifndef VELBROOK_DEFAULT_SITE_URL
#error "The build passes the default site address as VELBROOK_DEFAULT_SITE_URL"
#endif
#ifndef VELBROOK_TEST_HOOKS
#define VELBROOK_TEST_HOOKS 0
#endif

namespace update {

namespace {
std::string Page(const char* path) { return SiteUrl() + path; }
}  // namespace

std::optional<std::string> ValidSiteUrl(std::string_view text) {
    while (!text.empty() && text.back() == '/') {
        text.remove_suffix(1);
    }
    size_t at = 0;
    for (const std::string_view scheme : {"https://", "http://"}) {
        if (text.size() > scheme.size() && text.substr(0, scheme.size()) == scheme) {
            at = scheme.size();
            break;
        }
    }
    if (at == 0) {
        return std::nullopt;
    }
    const size_t hostStart = at;
    while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) ||
                                text[at] == '.' || text[at] == '-')) {
        ++at;
    }
    if (at == hostStart) {
        return std::nullopt;
    }
    if (at < text.size() && text[at] == ':') {
        const size_t portStart = ++at;
        unsigned long port = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - portStart < 5) {
            port = port * 10 + static_cast<unsigned long>(text[at++] - '0');
        }
        if (at == portStart || port == 0 || port > 65535) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return std::string(text);
}

std::string SiteUrl() {
#if VELBROOK_TEST_HOOKS
    // Builds made for the tests take the loopback server's address from the environment.
    // The tests' server answers each case below a path of its own.
    const char* forTests = std::getenv("VELBROOK_SITE_URL");
    if (forTests && *forTests) {
        std::string site = forTests;
        while (!site.empty() && site.back() == '/') {
            site.pop_back();
        }
        return site;
    }
#endif
    // Only administrators can write here: a company may run its own update server.
    if (auto site = ValidSiteUrl(shell::ReadSettingText("SiteUrl"))) {
        return *site;
    }
    return VELBROOK_DEFAULT_SITE_URL;
}

std::string VersionCheckUrl() { return Page("/admin/vercheck.asp?bitver=32"); }
std::string ReleaseStatementUrl() { return Page("/admin/release-statement"); }

std::string ProductSiteUrl() { return Page("/"); }
std::string WhatsNewPageUrl() { return Page("/whatnew.aspx"); }
std::string HelpPageUrl() { return Page("/help/index.aspx"); }
std::string FeedbackPageUrl() { return Page("/feedback.aspx?user=Y"); }
std::string FixStartupNowPageUrl() { return Page("/fixstartupnow.aspx"); }

std::string CompanionSiteUrl(CompanionProduct product) {
    switch (product) {
    case CompanionProduct::Tessarine: return Page("/tessarine/");
    case CompanionProduct::Corvallo: return Page("/corvallo/");
    case CompanionProduct::FileRepair: return Page("/filerepair/");
    }
    return ProductSiteUrl();
}

unsigned long RequestTimeoutMs() {
    constexpr unsigned long kDefault = 15000;
#if VELBROOK_TEST_HOOKS
    // The preprocessor, not the optimiser, keeps the variable's name out of shipped files.
    const char* configured = std::getenv("VELBROOK_HTTP_TIMEOUT_MS");
    if (!configured || !*configured) {
        return kDefault;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(configured, &end, 10);
    return errno == 0 && *end == '\0' && parsed > 0 && configured[0] != '-' ? parsed : kDefault;
#else
    return kDefault;
#endif
}

}  // namespace update
