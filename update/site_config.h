#pragma once
// Where the maker's web server is. The build sets a default site address (scheme, host and
// optional port, no trailing slash); the environment variable VELBROOK_SITE_URL overrides it,
// so a test or a staging server can stand in. Every address of the product hangs off it.
// Window-free, so that Renovix builds the same addresses.

#include <string>

namespace update {

// The site address in effect: VELBROOK_SITE_URL when set and not empty, else the build's
// default; trailing slashes are dropped.
std::string SiteUrl();

// The version-check endpoint: the site address, then "/admin/vercheck.asp?bitver=32".
std::string VersionCheckUrl();

// Pages opened in the browser.
std::string ProductSiteUrl();    // the product site's home page
std::string WhatsNewPageUrl();   // "whatnew.aspx"
std::string HelpPageUrl();       // "help/index.aspx"
std::string FeedbackPageUrl();   // "feedback.aspx?user=Y"
std::string FixStartupNowPageUrl();  // "fixstartupnow.aspx"

// The companion products' sites, below the maker's site.
enum class CompanionProduct { Tessarine, Corvallo, FileRepair };
std::string CompanionSiteUrl(CompanionProduct product);

// How long a request may wait for the server to connect or to send (milliseconds):
// VELBROOK_HTTP_TIMEOUT_MS when set to a positive number, else 15 seconds.
unsigned long RequestTimeoutMs();

}  // namespace update
