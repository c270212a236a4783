#include "cleanup/scrap_catalogue.h"
#include "cleanup/scrap_scan.h"
#include "engine/text.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using cleanup::ScrapCatalogue;

size_t PositionOf(const std::string& name) {
    for (size_t i = 0; i < ScrapCatalogue.size(); ++i) {
        if (name == ScrapCatalogue[i]) {
            return i;
        }
    }
    return ScrapCatalogue.size();
}

TEST(ScrapCatalogue, HoldsItsRowsInOrderWithTheirWindows1252Bytes) {
    EXPECT_STREQ(ScrapCatalogue[0], "_uninst_setup_9.0.0.722_20.06.2011_06-56.exe");
    EXPECT_STREQ(ScrapCatalogue[1], "\xB5Torrent");
    EXPECT_STREQ(ScrapCatalogue[2], "12Voip");
    EXPECT_STREQ(ScrapCatalogue[519], "ZuneLauncher");
    EXPECT_STREQ(ScrapCatalogue[517], "Zune\xAE");
    EXPECT_LT(PositionOf("Microsoft\xAE Windows\xAE Operating System"),
              PositionOf("Microsoft Windows Operating System"));
    EXPECT_EQ(PositionOf("MSN\xAE Toolbar"), PositionOf("MSN Toolbar") + 1);
}

TEST(ScrapCatalogue, DomainRowsStandWhereTheyBelong) {
    const size_t ezej = PositionOf("EZEJTRAY");
    EXPECT_EQ(PositionOf("fliptoast"), ezej + 3);
    const size_t onenote = PositionOf("OneNote 2007 Screen Clipper and Launcher");
    EXPECT_EQ(PositionOf("ooVoo"), onenote + 1);
    EXPECT_EQ(PositionOf("OpwareSE2"), onenote + 6);
    for (size_t i : {ezej + 1, ezej + 2, onenote + 3, onenote + 4, onenote + 5}) {
        EXPECT_NE(std::string(ScrapCatalogue[i]).find('.'), std::string::npos) << ScrapCatalogue[i];
    }
}

// With no two rows equal but for case, a single lookup per entry finds exactly the rows that
// comparing with every name in turn would find. Names are looked up as the registry gives them,
// in the process's code page (UTF-8): "\xB5Torrent" is found as "\xC2\xB5Torrent".
TEST(ScrapCatalogue, NoTwoRowsDifferOnlyInCase) {
    std::set<std::string> upper;
    for (const char* name : ScrapCatalogue) {
        const std::string listed =
            platform::text::Recode(name, cleanup::kScrapCatalogueCodePage, platform::text::kAnsi);
        EXPECT_TRUE(upper.insert(engine::UpperAnsi(listed)).second) << name;
        EXPECT_EQ(cleanup::CataloguePosition(listed), PositionOf(name)) << name;
    }
    EXPECT_EQ(cleanup::CataloguePosition("\xC2\xB5torrent"), 1u);
}

TEST(CataloguePosition, MatchesWholeNamesWithoutRegardToCase) {
    EXPECT_EQ(cleanup::CataloguePosition("adobe reader speed launch"),
              PositionOf("Adobe Reader Speed Launch"));
    EXPECT_EQ(cleanup::CataloguePosition("SKYPE"), PositionOf("Skype"));
    EXPECT_FALSE(cleanup::CataloguePosition("Skype.exe"));  // a suffix is another name
    EXPECT_EQ(cleanup::CataloguePosition("ascmd.exe"), PositionOf("AsCmd.exe"));
    EXPECT_FALSE(cleanup::CataloguePosition("Java(TM) Platform SE 6 Update 2"));  // no wildcard
    EXPECT_TRUE(cleanup::CataloguePosition("Java(TM) Platform SE 6 U*"));
    EXPECT_FALSE(cleanup::CataloguePosition(""));
    EXPECT_FALSE(cleanup::CataloguePosition("Skype "));
}

}  // namespace
