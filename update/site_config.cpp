#include "update/site_config.h"

#include <cerrno>
#include <cstdlib>

#ifndef VELBROOK_DEFAULT_SITE_URL
#error "The build passes the default site address as VELBROOK_DEFAULT_SITE_URL"
#endif

namespace update {

namespace {
std::string Page(const char* path) { return SiteUrl() + path; }
}  // namespace

std::string SiteUrl() {
    const char* configured = std::getenv("VELBROOK_SITE_URL");
    std::string site = configured && *configured ? configured : VELBROOK_DEFAULT_SITE_URL;
    while (!site.empty() && site.back() == '/') {
        site.pop_back();
    }
    return site;
}

std::string VersionCheckUrl() { return Page("/admin/vercheck.asp?bitver=32"); }

std::string ProductSiteUrl() { return Page("/"); }
std::string WhatsNewPageUrl() { return Page("/whatnew.aspx"); }
std::string HelpPageUrl() { return Page("/help/index.aspx"); }
std::string FeedbackPageUrl() { return Page("/feedback.aspx?user=Y"); }
std::string FixStartupNowPageUrl() { return Page("/fixstartupnow.aspx"); }

std::string CompanionSiteUrl(CompanionProduct product) {
    switch (product) {
    case CompanionProduct::Tessarine:
        return Page("/tessarine/");
    case CompanionProduct::Corvallo:
        return Page("/corvallo/");
    case CompanionProduct::FileRepair:
        return Page("/filerepair/");
    }
    return ProductSiteUrl();
}

unsigned long RequestTimeoutMs() {
    constexpr unsigned long kDefault = 15000;
    const char* configured = std::getenv("VELBROOK_HTTP_TIMEOUT_MS");
    if (!configured || !*configured) {
        return kDefault;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(configured, &end, 10);
    return errno == 0 && *end == '\0' && parsed > 0 && configured[0] != '-' ? parsed : kDefault;
}

}  // namespace update
