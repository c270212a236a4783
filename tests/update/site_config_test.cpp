// Where the site address comes from: the build's default, the administrators' settings value,
// and (in test builds) the environment; only well-formed addresses count.
#include "update/site_config.h"

#include "shell/core/settings_key.h"
#include "tests/support/data_folder.h"
#include "tests/update/version_server_client.h"

#include <gtest/gtest.h>

namespace {

void DeleteSiteValue() { testing_support::DeleteSetting("SiteUrl"); }

TEST(SiteConfigTest, OnlySchemeHostAndPortAreAnAddress) {
    EXPECT_EQ(update::ValidSiteUrl("https://updates.example.com"), "https://updates.example.com");
    EXPECT_EQ(update::ValidSiteUrl("http://10.0.0.5:8080/"), "http://10.0.0.5:8080");
    for (const char* text : {"", "updates.example.com", "ftp://x", "https://", "https://x/path",
                             "https://x:0", "https://x:65536", "https://x:", "https://a b",
                             "https://user@x", "javascript:alert(1)"}) {
        EXPECT_EQ(update::ValidSiteUrl(text), std::nullopt) << text;
    }
}

TEST(SiteConfigTest, TheSettingsValueOverridesTheDefaultWhenWellFormed) {
    const std::string fallback = update::SiteUrl();
    shell::WriteSetting("https://mirror.example.org/", "SiteUrl");
    EXPECT_EQ(update::SiteUrl(), "https://mirror.example.org");
    EXPECT_EQ(update::VersionCheckUrl(), "https://mirror.example.org/admin/vercheck.asp?bitver=32");
    shell::WriteSetting("not an address", "SiteUrl");
    EXPECT_EQ(update::SiteUrl(), fallback);
    {
        // Test builds: the environment comes first.
        testing_support::SiteUrlOverride site("http://127.0.0.1:1");
        shell::WriteSetting("https://mirror.example.org", "SiteUrl");
        EXPECT_EQ(update::SiteUrl(), "http://127.0.0.1:1");
    }
    DeleteSiteValue();
    EXPECT_EQ(update::SiteUrl(), fallback);
}

}  // namespace
