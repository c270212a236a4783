#pragma once
// Where the maker's web server is. The build sets a default site address (scheme, host and
// optional port, no trailing slash); the string value "SiteUrl" of the settings key (HKLM,
// writable by administrators only) overrides it, so that a company can host its own update
// server. Builds made for the tests also take VELBROOK_SITE_URL from the environment. Every
// address of the product hangs off it; Velbrook and Renovix build the same addresses.

#include <optional>
#include <string>
#include <string_view>

namespace update {

// The text as a site address: "http://" or "https://", a host of letters, digits, dots and
// hyphens, an optional port of 1 to 65535; trailing slashes are dropped. Anything else gives
// nothing.
std::optional<std::string> ValidSiteUrl(std::string_view text);

// The site address in effect: a valid override (the environment's in test builds, then the
// settings value), else the build's default.
std::string SiteUrl();

// The version-check endpoint: the site address, then "/admin/vercheck.asp?bitver=32".
std::string VersionCheckUrl();
// The signed release statement beside the answer ("release-statement", signature ".sig").
std::string ReleaseStatementUrl();

// Pages opened in the browser.
std::string ProductSiteUrl();        // the product site's home page
std::string WhatsNewPageUrl();       // "whatnew.aspx"
std::string HelpPageUrl();           // "help/index.aspx"
std::string FeedbackPageUrl();       // "feedback.aspx?user=Y"
std::string FixStartupNowPageUrl();  // "fixstartupnow.aspx"

// The companion products' sites, below the maker's site.
enum class CompanionProduct { Tessarine, Corvallo, FileRepair };
std::string CompanionSiteUrl(CompanionProduct product);

// How long a request may wait for the server to connect or to send (milliseconds): 15 seconds;
// test builds take VELBROOK_HTTP_TIMEOUT_MS when it is a positive number.
unsigned long RequestTimeoutMs();

}  // namespace update
