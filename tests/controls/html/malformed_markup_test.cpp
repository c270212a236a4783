// Markup is outside input: generated broken documents must parse and lay out without harm.
#include "controls/html/html_layout.h"
#include "fixed_measure.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace controls::html;

namespace {

// A small deterministic generator, so a failure can be replayed from its seed.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    size_t Below(size_t n) { return Next() % n; }

private:
    std::uint32_t state_;
};

const char* const kPieces[] = {
    "<b>", "</b>", "<i>", "</i>", "<u>", "<s>", "</strike>", "<font", "</font>", "<hr", "<br>",
    "<t>", "<center>", "</center>", "<right>", "<top>", "</vcenter>", "<bmp", "<icon", "<ilst",
    "<string", "<h1>", "</h6>", "<code>", "<pre>", "<big>", "<small>", "<sub>", "</sup>",
    "<span", "<a", "</a>", "<table", "</table>", "<tr>", "</tr>", "<td", "</td>", "<<", "<",
    ">", "&lt;", "&gt;", "&amp", "&nbsp;", "&bogus;", "\n", "\t", " ", "word ", "long-word,",
    "x", "\"", "'", "=", "/", "</", "<body>", "</body>", "<p>", "\xA9\x80",
};
const char* const kAttributes[] = {
    " color=", " size=", " face=", " width=", " height=", " colspan=", " rowspan=",
    " cellpadding=", " cellspacing=", " border=", " bgcolor=", " bgeffect=", " href=",
    " msg=", " class=", " idres=", " iddll=", " srcdll=", " file=", " style=", " weight=",
    " bkgnd=", " align=", " valign=", " index=",
};
const char* const kValues[] = {
    "0", "1", "7", "-5", "150%", "9999999999999", "#FF0000", "#F", "0x7fffffff", "red",
    "\"unterminated", "'x'", "\"a b\"", "100%", "1e9px", "12pt", "3em", "hardbump", "", "%",
};

std::string MakeDocument(Random& r) {
    std::string doc;
    const size_t parts = 1 + r.Below(120);
    for (size_t i = 0; i < parts; ++i) {
        doc += kPieces[r.Below(std::size(kPieces))];
        for (size_t a = r.Below(3); a > 0; --a) {
            doc += kAttributes[r.Below(std::size(kAttributes))];
            doc += kValues[r.Below(std::size(kValues))];
        }
        if (r.Below(4) == 0) {
            doc += ">";
        }
    }
    return doc;
}

void CheckLayout(const Document& doc, const Layout& layout, int width) {
    EXPECT_GE(layout.height, 0);
    for (const auto& op : layout.ops) {
        ASSERT_LE(op.rect.left, op.rect.right);
        ASSERT_LE(op.rect.top, op.rect.bottom);
        ASSERT_GE(op.rect.top, 0);
        ASSERT_LE(op.rect.bottom, layout.height + 1000);
        if (op.kind == DrawOp::Kind::Text) {
            ASSERT_NE(op.style, nullptr);
        }
    }
    for (const auto& link : layout.links) {
        ASSERT_GE(link.id, 0);
        ASSERT_LT(link.id, static_cast<int>(doc.links.size()));
    }
    (void)width;
}

TEST(MalformedMarkup, ThousandsOfGeneratedDocumentsParseAndLayOut) {
    StyleSheet sheet;
    sheet.Add("td { padding: 2px } .x { color: #zzzzzz; font-size: -3pt }");
    const ColorTable colors([](int) { return Color{0}; });
    test_html::FixedMeasure measure;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        Random r(seed);
        const std::string markup = MakeDocument(r);
        const int hover = static_cast<int>(r.Below(4)) - 1;
        const Document doc =
            BuildDocument(markup, BuildContext{sheet, colors, measure, nullptr, hover});
        for (int width : {0, 1, 37, 400}) {
            const Layout layout = LayoutDocument(doc, width, measure);
            CheckLayout(doc, layout, width);
            if (HasFatalFailure()) {
                FAIL() << "seed " << seed << " width " << width << ": " << markup;
            }
        }
    }
}

TEST(MalformedMarkup, DeepNestingAndHugeValuesAreBounded) {
    StyleSheet sheet;
    const ColorTable colors([](int) { return Color{0}; });
    test_html::FixedMeasure measure;
    std::string deep;
    for (int i = 0; i < 20000; ++i) {
        deep += "<b><table><tr><td><font size=150%>";
    }
    deep += "x";
    std::string huge = "<font face=\"" + std::string(1 << 20, 'F') + "\" size=\"" +
                       std::string(100000, '9') + "\">y</font><hr width=" +
                       std::string(5000, '9') + ">";
    for (const std::string& markup : {deep, huge}) {
        const Document doc = BuildDocument(markup, BuildContext{sheet, colors, measure, nullptr, -1});
        const Layout layout = LayoutDocument(doc, 300, measure);
        CheckLayout(doc, layout, 300);
        bool sawText = false;
        for (const auto& op : layout.ops) {
            sawText = sawText || op.kind == DrawOp::Kind::Text;
            if (op.kind == DrawOp::Kind::Text) {
                EXPECT_LE(op.style->sizePt, 500);
                EXPECT_LE(op.style->face.size(), 31u);
            }
        }
        EXPECT_TRUE(sawText);
    }
}

}  // namespace
