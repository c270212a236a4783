// The one text codec: UTF-8 and a legacy code page against UTF-16, invalid input, surrogate
// pairs, and what the manifest makes of the process's code page.

#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace {

namespace text = platform::text;

TEST(TextCodec, TheManifestMakesUtf8TheAnsiCodePageAndTheLegacyOneStays) {
    EXPECT_TRUE(text::AnsiIs(text::kUtf8));
    EXPECT_EQ(text::LegacyCodePage(), 1252u);  // the test prefix is set up for Western Europe
}

TEST(TextCodec, Utf8RoundTripsWithLengthsInBytesUnitsAndCharacters) {
    struct Case {
        const char* utf8;
        std::wstring wide;
        size_t bytes, units, characters;
    };
    const Case cases[] = {
        {"\xD0\xAF\xD0\xBD\xD0\xB4\xD0\xB5\xD0\xBA\xD1\x81",
         L"\u042F\u043D\u0434\u0435\u043A\u0441", 12, 6, 6},           // Cyrillic
        {"\xE5\xBE\xAE\xE4\xBF\xA1", L"\u5FAE\u4FE1", 6, 2, 2},        // CJK
        {"\xCE\xA3\xCF\x8D\xCE\xBD", L"\u03A3\u03CD\u03BD", 6, 3, 3},  // Greek
        {"\xF0\x9F\x98\x80", L"\xD83D\xDE00", 4, 2, 1},                // emoji: a pair
        {"e\xCC\x81", L"e\u0301", 3, 2, 2},                            // combining accent
        {"plain", L"plain", 5, 5, 5},
    };
    for (const Case& c : cases) {
        const std::wstring wide = text::WideOfUtf8(c.utf8);
        EXPECT_EQ(wide, c.wide) << c.utf8;
        EXPECT_EQ(std::string(c.utf8).size(), c.bytes);
        EXPECT_EQ(wide.size(), c.units) << c.utf8;
        EXPECT_EQ(text::CharacterCount(wide), c.characters) << c.utf8;
        bool lossy = true;
        EXPECT_EQ(text::Narrow(wide, text::kUtf8, &lossy), c.utf8);
        EXPECT_FALSE(lossy) << c.utf8;
        // The process's code page is UTF-8: kAnsi gives the same bytes.
        EXPECT_EQ(text::Narrow(wide), c.utf8);
    }
}

TEST(TextCodec, InvalidInputBecomesTheReplacementCharacterAndIsReportedLossy) {
    const std::pair<std::string, std::wstring> invalid[] = {
        {"\xC3", L"\xFFFD"},  // a sequence cut short
        {"a\xFF"
         "b",
         L"a\xFFFD"
         L"b"},                         // a byte no UTF-8 has
        {"\xC0\xAF", L"\xFFFD\xFFFD"},  // an overlong '/'
    };
    for (const auto& [bytes, wide] : invalid) {
        EXPECT_EQ(text::WideOfUtf8(bytes), wide);
    }
    // An unpaired surrogate has no UTF-8 form.
    bool lossy = false;
    EXPECT_EQ(text::Narrow(std::wstring(L"x\xD800"), text::kUtf8, &lossy), "x\xEF\xBF\xBD");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(text::CharacterCount(std::wstring(L"\xD800x")), 2u);
}

TEST(TextCodec, ALegacyCodePageTellsWhichCharactersItLacks) {
    struct Case {
        std::wstring wide;
        std::string bytes;
        bool lossy;
    };
    const Case cases[] = {
        {L"Caf\u00E9", "Caf\xE9", false},
        {L"\u20AC", "\x80", false},  // the euro sign is in 1252
        {L"\u042F", "?", true},      // Cyrillic is not
        {L"\u0101", "a", true},      // a "best fit" is a loss too
    };
    for (const Case& c : cases) {
        bool lossy = !c.lossy;
        EXPECT_EQ(text::Narrow(c.wide, 1252, &lossy), c.bytes);
        EXPECT_EQ(lossy, c.lossy) << c.bytes;
    }
    EXPECT_EQ(text::Recode("Caf\xC3\xA9", text::kUtf8, 1252), "Caf\xE9");
    EXPECT_EQ(text::Recode("Caf\xE9", 1252, text::kUtf8), "Caf\xC3\xA9");
    EXPECT_EQ(text::Recode("ascii", 1252, text::kUtf8), "ascii");
}

}  // namespace
