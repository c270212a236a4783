// Colours, entities, tokens, style sheets and the document tree of the markup.
#include "controls/html/html_document.h"
#include "controls/html/link_command.h"
#include "controls/html/markup_entities.h"
#include "fixed_measure.h"

#include <gtest/gtest.h>

using namespace controls::html;

namespace {

ColorTable Colors() {
    return ColorTable([](int index) { return static_cast<Color>(0x010101 * index); });
}

TEST(ColorTable, HoldsTheWebNamesAndTheSystemNamesReadAtCreation) {
    const ColorTable colors = Colors();
    EXPECT_EQ(colors.CountNames(), 168u);
    EXPECT_EQ(colors.Find("Red"), Rgb(255, 0, 0));
    EXPECT_EQ(colors.Find("yellowgreen"), Rgb(0x9A, 0xCD, 0x32));
    EXPECT_EQ(colors.Find("aliceblue"), Rgb(0xF0, 0xF8, 0xFF));
    EXPECT_EQ(colors.Find("windowtext"), 0x080808u);  // COLOR_WINDOWTEXT is 8
    EXPECT_EQ(colors.Find("infobackground"), 0x181818u);
    EXPECT_EQ(colors.Find("nosuchcolour"), std::nullopt);
}

TEST(ParseColor, FollowsTheHashNumberAndNameRules) {
    const ColorTable colors = Colors();
    struct Case {
        const char* text;
        std::optional<Color> want;
    };
    const Case cases[] = {
        {"#FF0000", Rgb(255, 0, 0)},
        {"#00ff80", Rgb(0, 255, 0x80)},
        {"000000", Rgb(0, 0, 0)},         // octal zero: black
        {"0x0000FF", Rgb(255, 0, 0)},     // 0x00BBGGRR: red
        {"0xff0000", Rgb(0, 0, 255)},     // blue
        {"255", Rgb(255, 0, 0)},          // decimal
        {"010", Color{8}},                // octal
        {"99999999999999", 0xFFFFFFFFu},  // too large: saturates
        {"#FFF", std::nullopt},           // not seven characters
        {"#GG0000", std::nullopt},
        {"", std::nullopt},
        {"  navy ", Rgb(0, 0, 0x80)},
        {"bogus", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseColor(c.text, colors), c.want) << c.text;
    }
}

TEST(DecodeEntities, ReplacesTheKnownOnesAndDoublesTheLessThan) {
    EXPECT_EQ(DecodeEntities("&lt;b&gt;"), "<<b>");
    EXPECT_EQ(DecodeEntities("a&amp;b&nbsp;&quot;"), "a&b \"");
    EXPECT_EQ(DecodeEntities("&copy;&reg;&trade;&euro;&pound;&para;&iquest;&bull;"),
              "\xA9\xAE\x99\x80\xA3\xB6\xBF\x95");
    EXPECT_EQ(DecodeEntities("&unknown; & &amp"), "&unknown; & &amp");
}

TEST(TokenizeMarkup, ReadsTagsAttributesAndLiteralLessThan) {
    const auto tokens =
        TokenizeMarkup("a<<b <FONT Color=\"#FF0000\" size=3 face='A B'>x\ty\r\n</font>");
    ASSERT_EQ(tokens.size(), 7u);
    EXPECT_EQ(tokens[0].text, "a<b ");
    EXPECT_EQ(tokens[1].kind, Token::Kind::Tag);
    EXPECT_EQ(tokens[1].text, "font");
    EXPECT_EQ(tokens[1].Attr("color"), "#FF0000");
    EXPECT_EQ(tokens[1].Attr("size"), "3");
    EXPECT_EQ(tokens[1].Attr("face"), "A B");
    EXPECT_EQ(tokens[3].kind, Token::Kind::Tab);
    EXPECT_EQ(tokens[5].kind, Token::Kind::LineBreak);
    EXPECT_TRUE(tokens[6].closing);
}

TEST(TokenizeMarkup, KeepsAnUnfinishedTagAsText) {
    const auto tokens = TokenizeMarkup("x < y <b>z</b> <i");
    ASSERT_GE(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].text, "x < y ");
    EXPECT_EQ(tokens.back().text, " <i");
}

TEST(StyleSheet, StartsWithTheDefaultRulesAndAppendsLaterOnes) {
    StyleSheet sheet;
    EXPECT_EQ(sheet.Find("A:Hover"), "text-decoration:underline; color:blue");
    EXPECT_EQ(sheet.Find(".cpp-comment"), "color:green; font-style:italic");
    sheet.Add("/* mine */ h1, .note { color: red } broken { font-size: 3pt");
    EXPECT_EQ(sheet.Find("h1"),
              "font-size: 14pt; color:black; font-family:Verdana; "
              "font-weight:bold; color: red");
    EXPECT_EQ(sheet.Find(".note"), "color: red");
    EXPECT_EQ(sheet.Find("broken"), "font-size: 3pt");
    const auto decls = ParseDeclarations("font-family:\"Courier; New\" ; COLOR : red;;x");
    ASSERT_EQ(decls.size(), 2u);
    EXPECT_EQ(decls[0].value, "Courier; New");
    EXPECT_EQ(decls[1].property, "color");
}

TEST(TextStyle, LengthsPercentagesAndFontSizes) {
    test_html::FixedMeasure scale;
    TextStyle style;  // 10 pt
    EXPECT_EQ(ParseFontSize("150%", style, scale, false), 15);
    EXPECT_EQ(ParseFontSize("65%", style, scale, false), 6);  // integer multiply-divide
    EXPECT_EQ(ParseFontSize("3", style, scale, true), 12);
    EXPECT_EQ(ParseFontSize("7", style, scale, true), 36);
    EXPECT_EQ(ParseFontSize("24px", style, scale, false), 18);
    EXPECT_EQ(ParseFontSize("1in", style, scale, false), 72);
    EXPECT_EQ(ParseFontSize("big", style, scale, false), std::nullopt);
    EXPECT_EQ(ParseLength("2em", 0, style, scale), 40);
    EXPECT_EQ(ParseLength("2ex", 0, style, scale), 20);
    EXPECT_EQ(ParseLength("1in", 0, style, scale), 96);
    EXPECT_EQ(ParseLength("2.54cm", 0, style, scale), 96);
    EXPECT_EQ(ParseLength("72pt", 0, style, scale), 96);
    EXPECT_EQ(ParseLength("1pc", 0, style, scale), 16);
    EXPECT_EQ(ParseLength("25.4mm", 0, style, scale), 96);
    EXPECT_EQ(ParseLength("50%", 30, style, scale), 15);
    EXPECT_EQ(ParseLength("3furlong", 0, style, scale), std::nullopt);
    EXPECT_EQ(ParseLength("99999999999in", 0, style, scale), 32000);  // clamped, no overflow
}

TEST(TextStyle, DeclarationsChangeOnlyWhatTheyUnderstand) {
    test_html::FixedMeasure scale;
    const ColorTable colors = Colors();
    TextStyle s;
    ApplyDeclarations(s,
                      "font-weight:bolder; font-style:oblique; color:#102030; "
                      "text-decoration:underline; text-transform:uppercase; vertical-align:middle; "
                      "border-width:thick; border-style:dashed; background-color:red",
                      colors, scale);
    EXPECT_EQ(s.weight, 700);
    EXPECT_TRUE(s.italic);
    EXPECT_EQ(s.color, Rgb(0x10, 0x20, 0x30));
    EXPECT_TRUE(s.underline);
    EXPECT_EQ(s.transform, TextTransform::Uppercase);
    EXPECT_EQ(s.vAlign, VAlign::Middle);
    EXPECT_EQ(s.borderWidth, 5);
    EXPECT_EQ(s.borderStyle, BorderStyle::Dashed);
    EXPECT_EQ(s.background, Rgb(255, 0, 0));
    const TextStyle before = s;
    ApplyDeclarations(s, "font-weight:heavy; color:#12; font-size:huge; text-align:diagonal",
                      colors, scale);
    EXPECT_EQ(s.weight, before.weight);
    EXPECT_EQ(s.color, before.color);
    EXPECT_EQ(s.sizePt, before.sizePt);
    ApplyDeclarations(s, "text-decoration:none; background-color:transparent", colors, scale);
    EXPECT_FALSE(s.underline);
    EXPECT_FALSE(s.background.has_value());
    EXPECT_EQ(TransformText("hello big world", TextTransform::Capitalize, true), "Hello Big World");
}

struct Built {
    StyleSheet sheet;
    ColorTable colors = Colors();
    test_html::FixedMeasure scale;
    Document doc;
    explicit Built(std::string_view markup, int hover = -1) {
        doc = BuildDocument(markup, BuildContext{sheet, colors, scale, nullptr, hover});
    }
};

std::string TextOf(const std::vector<Item>& items) {
    std::string all;
    for (const auto& i : items) {
        all += i.text;
    }
    return all;
}

TEST(BuildDocument, EntitiesAroundBShowTheTagInsteadOfBold) {
    Built b("&lt;b&gt;bold?&lt;/b&gt;");
    ASSERT_EQ(b.doc.items.size(), 1u);
    EXPECT_EQ(b.doc.items[0].text, "<b>bold?</b>");
    EXPECT_EQ(b.doc.items[0].style->weight, 400);
}

TEST(BuildDocument, TheHintLineHasARedBoldRunAndABlackRun) {
    Built b(
        "<font color=\"#FF0000\"><b>Not Sure?? </b></font> <font color=\"000000\">Which "
        "Program's to Check/Uncheck from list</font>");
    ASSERT_EQ(b.doc.items.size(), 3u);
    EXPECT_EQ(b.doc.items[0].text, "Not Sure?? ");
    EXPECT_EQ(b.doc.items[0].style->color, Rgb(255, 0, 0));
    EXPECT_EQ(b.doc.items[0].style->weight, 700);
    EXPECT_EQ(b.doc.items[2].text, "Which Program's to Check/Uncheck from list");
    EXPECT_EQ(b.doc.items[2].style->color, Rgb(0, 0, 0));
    EXPECT_EQ(b.doc.items[2].style->weight, 400);
    EXPECT_EQ(b.doc.items[2].style->face, "Verdana");
    EXPECT_EQ(b.doc.items[2].style->sizePt, 10);
}

TEST(BuildDocument, StrayAndUnclosedTagsChangeNothingOutsideThem) {
    Built b("</b></font>a<i>b<u>c</i>d</u>e<b>f");
    ASSERT_EQ(b.doc.items.size(), 5u);
    EXPECT_EQ(TextOf(b.doc.items), "abcdef");
    EXPECT_FALSE(b.doc.items[0].style->italic);
    EXPECT_TRUE(b.doc.items[2].style->underline && b.doc.items[2].style->italic);
    // Closing <i> closed the <u> opened inside it too.
    EXPECT_FALSE(b.doc.items[3].style->underline);
    EXPECT_EQ(b.doc.items[4].style->weight, 700);
}

TEST(BuildDocument, StyleRulesClassesAndFontAttributes) {
    Built b(
        "<h2>t</h2><span class=\"cpp-comment\">c</span><font size=\"150%\" face=Arial "
        "bkgnd=yellow style=italic weight=bold>f</font><sub>s</sub><pre>p</pre>");
    const auto& items = b.doc.items;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].style->sizePt, 13);
    EXPECT_EQ(items[0].style->color, Rgb(0xFF, 0x99, 0));
    EXPECT_EQ(items[1].style->color, Rgb(0, 0x80, 0));
    EXPECT_TRUE(items[1].style->italic);
    EXPECT_EQ(items[2].style->sizePt, 15);
    EXPECT_EQ(items[2].style->face, "Arial");
    EXPECT_EQ(items[2].style->background, Rgb(255, 255, 0));
    EXPECT_TRUE(items[2].style->italic);
    EXPECT_EQ(items[2].style->weight, 700);
    EXPECT_EQ(items[3].style->sizePt, 6);
    EXPECT_EQ(items[3].style->vAlign, VAlign::Bottom);
    EXPECT_EQ(items[4].style->face, "Courier");
    EXPECT_EQ(items[4].style->background, Rgb(0xFB, 0xED, 0xBB));
}

TEST(BuildDocument, LinksOfBothKindsAndTheHoveredOne) {
    Built plain("<a href=\"http://x/\">go</a> <a msg=\"hello\">say</a>");
    ASSERT_EQ(plain.doc.links.size(), 2u);
    EXPECT_EQ(plain.doc.links[0].kind, LinkKind::Address);
    EXPECT_EQ(plain.doc.links[1].kind, LinkKind::Message);
    EXPECT_EQ(plain.doc.links[1].target, "hello");
    EXPECT_EQ(plain.doc.items[0].link, 0);
    EXPECT_EQ(plain.doc.items[1].link, -1);
    EXPECT_EQ(plain.doc.items[2].link, 1);
    EXPECT_FALSE(plain.doc.items[2].style->underline);
    EXPECT_EQ(plain.doc.items[2].style->color, Rgb(0, 0, 255));
    Built hovered("<a href=\"http://x/\">go</a> <a msg=\"hello\">say</a>", 1);
    EXPECT_FALSE(hovered.doc.items[0].style->underline);
    EXPECT_TRUE(hovered.doc.items[2].style->underline);
}

TEST(BuildDocument, TablesRowsCellsAndImplicitOnes) {
    Built b(
        "<table border=1 cellpadding=3><tr><td colspan=2 bgcolor=red>a<b>b</td><td>c"
        "<tr>stray<td rowspan=999>d</table>e");
    ASSERT_EQ(b.doc.items.size(), 2u);
    const Table& t = *b.doc.items[0].table;
    ASSERT_EQ(t.rows.size(), 2u);
    ASSERT_EQ(t.rows[0].cells.size(), 2u);
    EXPECT_EQ(t.rows[0].cells[0].colSpan, 2);
    EXPECT_EQ(t.rows[0].cells[0].look.background, Rgb(255, 0, 0));
    EXPECT_EQ(t.rows[0].cells[0].look.border, 1);
    EXPECT_EQ(t.cellPadding, 3);
    // The bold of the first cell ends with it.
    EXPECT_EQ(t.rows[0].cells[1].items[0].style->weight, 400);
    ASSERT_EQ(t.rows[1].cells.size(), 2u);
    EXPECT_EQ(TextOf(t.rows[1].cells[0].items), "stray");
    EXPECT_EQ(t.rows[1].cells[1].rowSpan, 64);
    EXPECT_EQ(b.doc.items[1].text, "e");
}

TEST(BrowserCommandLine, CutsAtThePlaceholder) {
    EXPECT_EQ(BrowserCommandLine("\"C:\\b.exe\" -nohome \"%1\"", "http://a/"),
              "\"C:\\b.exe\" -nohome  http://a/");
    EXPECT_EQ(BrowserCommandLine("b.exe %1 -x", "u"), "b.exe  u");
    EXPECT_EQ(BrowserCommandLine("b.exe", "u"), "b.exe u");
}

}  // namespace
