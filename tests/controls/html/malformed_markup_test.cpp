// Markup is outside input: generated broken documents must parse and lay out without harm.
#include "controls/html/html_layout.h"
#include "fixed_measure.h"
#include "malformed_markup.h"

#include <gtest/gtest.h>

using namespace controls::html;

using test_html::MakeDocument;
using test_html::Random;

namespace {

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
    sheet.Add(
        "td { padding: 2px } .x { color: #zzzzzz; font-size: -3pt } .box { margin: 1e9px; "
        "padding: 50px; border-style: double; border-width: thick }");
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
                       std::string(100000, '9') + "\">y</font><hr width=" + std::string(5000, '9') +
                       ">";
    for (const std::string& markup : {deep, huge}) {
        const Document doc =
            BuildDocument(markup, BuildContext{sheet, colors, measure, nullptr, -1});
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
