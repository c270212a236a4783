// Line breaking, alignment, links and tables, measured with fixed-width characters.
#include "controls/html/html_layout.h"
#include "fixed_measure.h"

#include <gtest/gtest.h>

using namespace controls::html;

namespace {

struct Laid {
    StyleSheet sheet;
    ColorTable colors{[](int) { return Color{0}; }};
    test_html::FixedMeasure measure;  // 10 pt: 6 px a character, 20 px a line
    Document doc;
    Layout layout;
    Laid(std::string_view markup, int width, std::string_view css = {}) {
        sheet.Add(css);
        doc = BuildDocument(markup, BuildContext{sheet, colors, measure, nullptr, -1});
        layout = LayoutDocument(doc, width, measure);
    }
    std::vector<const DrawOp*> Ops(DrawOp::Kind kind) const {
        std::vector<const DrawOp*> out;
        for (const auto& op : layout.ops) {
            if (op.kind == kind) {
                out.push_back(&op);
            }
        }
        return out;
    }
    std::vector<const DrawOp*> Texts() const { return Ops(DrawOp::Kind::Text); }
    std::vector<const DrawOp*> Frames() const { return Ops(DrawOp::Kind::Frame); }
};

TEST(Layout, ALongWordIsSplitAtTheLastCharacterThatFits) {
    Laid l("abcdefghijklmnopqrstuvwxyz", 60);  // 10 characters a line
    const auto texts = l.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->text, "abcdefghij");
    EXPECT_EQ(texts[1]->text, "klmnopqrst");
    EXPECT_EQ(texts[2]->text, "uvwxyz");
    EXPECT_EQ(texts[1]->rect.top, 20);
    EXPECT_EQ(l.layout.height, 60);
    EXPECT_EQ(l.layout.width, 60);
}

TEST(Layout, BreaksAfterTheLastBreakCharacterThatFits) {
    const struct {
        const char* text;
        const char* firstLine;
    } cases[] = {
        {"one two three", "one two "},
        {"a-b-c-d-e-f-g-h", "a-b-c-d-e-"},
        {"x,y.z!w:v;u)t}s]r?q", "x,y.z!w:v;"},
        {"ab)cdefghijkl", "ab)"},
    };
    for (const auto& c : cases) {
        Laid l(c.text, 60);
        ASSERT_GE(l.Texts().size(), 2u) << c.text;
        EXPECT_EQ(l.Texts()[0]->text, c.firstLine) << c.text;
    }
}

TEST(Layout, AWordThatFitsAFreshLineMovesToIt) {
    Laid l("<b>ab</b>cdefghijkl", 60);
    const auto texts = l.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "ab");
    EXPECT_EQ(texts[1]->text, "cdefghijkl");
    EXPECT_EQ(texts[1]->rect.left, 0);
}

TEST(Layout, TheHintLineInTwoColoursOnOneOrTwoLines) {
    const char* hint =
        "<font color=\"#FF0000\"><b>Not Sure?? </b></font> <font color=\"000000\">"
        "Which Program's to Check/Uncheck from list</font>";
    Laid wide(hint, 0);
    auto texts = wide.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->style->color, Rgb(255, 0, 0));
    EXPECT_EQ(texts[2]->style->color, Rgb(0, 0, 0));
    EXPECT_EQ(texts[2]->rect.left, (11 + 1) * 6);
    EXPECT_EQ(wide.layout.width, (11 + 1 + 42) * 6);
    EXPECT_EQ(wide.layout.height, 20);

    Laid narrow(hint, 40 * 6);
    texts = narrow.Texts();
    ASSERT_EQ(texts.size(), 4u);
    // 12 characters of the red run and the blank leave room for 28.
    EXPECT_EQ(texts[2]->text, "Which Program's to ");
    EXPECT_EQ(texts[3]->text, "Check/Uncheck from list");
    EXPECT_EQ(texts[3]->rect.left, 0);
    EXPECT_EQ(texts[3]->rect.top, 20);
    EXPECT_EQ(texts[3]->style->color, Rgb(0, 0, 0));
}

TEST(Layout, BreaksTabsAlignmentAndBaseline) {
    Laid l("a<br>\n<center>mid</center>\n<right>r</right>\nx\tb<big>B</big>", 120);
    const auto texts = l.Texts();
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0]->rect.top, 0);
    EXPECT_EQ(texts[1]->rect.top, 40);  // an empty line between
    EXPECT_EQ(texts[1]->rect.left, (120 - 18) / 2);
    EXPECT_EQ(texts[2]->text, "r");
    EXPECT_EQ(texts[2]->rect.left, 114);
    // The tab goes to the next stop of 8 "x" widths (48 px).
    EXPECT_EQ(texts[4]->rect.left, 48);
    // "B" is 12 pt: both share one baseline, so the smaller one sits lower.
    EXPECT_EQ(texts[5]->rect.top + 19, texts[4]->rect.top + 16);
    EXPECT_EQ(texts[5]->rect.top, 80);
}

TEST(Layout, LinkAreasCoverEveryPieceOfALink) {
    Laid l("x <a msg=\"m\">click here now</a>", 60);
    ASSERT_EQ(l.layout.links.size(), 2u);
    EXPECT_EQ(l.layout.links[0].id, 0);
    EXPECT_EQ(l.layout.links[1].id, 0);
    EXPECT_EQ(l.layout.links[0].kind, LinkKind::Message);
    EXPECT_EQ(l.layout.links[0].text, "click ");
    EXPECT_EQ(l.layout.links[0].rect.left, 12);
    EXPECT_TRUE(l.layout.links[1].rect.Contains(0, 25));
}

TEST(Layout, RulesStretchToTheirShare) {
    Laid l("a<hr width=50% size=4 color=red>b", 200);
    const DrawOp* rule = nullptr;
    for (const auto& op : l.layout.ops) {
        if (op.kind == DrawOp::Kind::Rule) {
            rule = &op;
        }
    }
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->rect.Width(), 100);
    EXPECT_EQ(rule->rect.left, 50);
    EXPECT_EQ(rule->rect.Height(), 4);
    EXPECT_EQ(rule->color, Rgb(255, 0, 0));
}

TEST(Layout, JustifiedLinesShareTheirSlackAmongTheGapsButTheLastLineDoesNot) {
    Laid l("<justify>aaa bb c dddd eeeee ff<br>gg h</justify>", 60);  // 10 characters a line
    const auto texts = l.Texts();
    ASSERT_EQ(texts.size(), 8u);
    // "aaa bb c " is 48 px without its last blank: 12 px go to its two gaps.
    EXPECT_EQ(texts[0]->text, "aaa ");
    EXPECT_EQ(texts[0]->rect.left, 0);
    EXPECT_EQ(texts[1]->rect.left, 24 + 6);
    EXPECT_EQ(texts[2]->text, "c ");
    EXPECT_EQ(texts[2]->rect.left, 60 - 6 * 2 + 6);
    // A line of one word has no gap to widen.
    EXPECT_EQ(texts[3]->text, "dddd ");
    EXPECT_EQ(texts[3]->rect.left, 0);
    // The line before a break and the last line stay as they are.
    EXPECT_EQ(texts[5]->text, "ff");
    EXPECT_EQ(texts[5]->rect.left, 36);
    EXPECT_EQ(texts[7]->text, "h");
    EXPECT_EQ(texts[7]->rect.left, 18);
    EXPECT_EQ(l.layout.width, 60);
}

TEST(Layout, MarginBorderAndPaddingMakeRoomAroundTheTextOfTheirTag) {
    Laid l("a<span class=box>b<i>c</i></span>d", 0,
           ".box { margin: 3px; border-width: 1px; border-style: solid; padding: 2px; "
           "background-color: yellow }");
    const auto texts = l.Texts();
    const auto frames = l.Frames();
    ASSERT_EQ(texts.size(), 4u);
    ASSERT_EQ(frames.size(), 1u);  // "<i>" inside the span is in the same box, not a box of its own
    ASSERT_EQ(l.doc.boxes.size(), 1u);
    EXPECT_EQ(frames[0]->box->background, Rgb(255, 255, 0));
    // a | 3 margin | 1 border, 2 padding | b c | 2 padding, 1 border | 3 margin | d
    EXPECT_EQ(frames[0]->rect.left, 6 + 3);
    EXPECT_EQ(texts[1]->rect.left, 6 + 3 + 3);
    EXPECT_EQ(texts[2]->rect.left, 6 + 3 + 3 + 6);
    EXPECT_EQ(frames[0]->rect.right, texts[2]->rect.right + 3);
    EXPECT_EQ(texts[3]->rect.left, frames[0]->rect.right + 3);
    // The line grows by the box above and below; the frame is the text with its inset.
    EXPECT_EQ(l.layout.height, 20 + 2 * 6);
    EXPECT_EQ(frames[0]->rect.top, texts[1]->rect.top - 3);
    EXPECT_EQ(frames[0]->rect.bottom, texts[1]->rect.bottom + 3);
    EXPECT_GE(frames[0]->rect.top, 0);
    EXPECT_EQ(texts[0]->rect.top, texts[1]->rect.top);  // one baseline
}

TEST(Layout, ABoxBrokenAcrossLinesShowsEachEdgeOnce) {
    Laid l(
        "<span class=pad>aaaa bbbb cccc</span>"
        "<span class=border><table><tr><td>x</td></tr></table></span>",
        60, ".pad { padding: 6px } .border { border-style: dashed; border-width: 2px }");
    const auto texts = l.Texts();
    const auto frames = l.Frames();
    ASSERT_EQ(texts.size(), 3u);
    // A box around a table does not draw itself inside the table's cells.
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]->rect.left, 0);
    EXPECT_EQ(texts[0]->text, "aaaa ");
    EXPECT_EQ(texts[0]->rect.left, 6);
    EXPECT_EQ(frames[0]->rect.right, 6 + 30);  // no right edge on the first line
    EXPECT_EQ(texts[1]->text, "bbbb cccc");
    EXPECT_EQ(texts[1]->rect.left, 0);  // no left edge on the second
    EXPECT_EQ(frames[1]->rect.left, 0);
    EXPECT_EQ(frames[1]->rect.right, 54 + 6);
    EXPECT_EQ(frames[1]->rect.top, frames[0]->rect.bottom);
}

TEST(Layout, JustifiedTextInABoxKeepsItsFrameAroundTheWords) {
    Laid l("<justify>aa <span class=pad>b c</span> dddddd ee</justify>", 90,
           ".pad { padding: 3px }");
    const auto texts = l.Texts();
    const auto frames = l.Frames();
    ASSERT_GE(frames.size(), 1u);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[1]->text, "b ");
    EXPECT_EQ(frames[0]->rect.left, texts[1]->rect.left - 3);
    EXPECT_EQ(frames[0]->rect.right, texts[2]->rect.right + 3);
}

// Cell boxes of a table, in the order of the markup.
std::vector<Rect> Cells(const Layout& layout) {
    std::vector<Rect> cells;
    bool first = true;
    for (const auto& op : layout.ops) {
        if (op.kind == DrawOp::Kind::Box) {
            if (!first) {
                cells.push_back(op.rect);
            }
            first = false;
        }
    }
    return cells;
}

TEST(Layout, TableColumnsTakeTheWidestCellAndSpansCoverTheirColumns) {
    // Spacing 2, padding 1: a cell of n characters is 6n + 2 wide.
    Laid l(
        "<table><tr><td>aaaa</td><td>b</td></tr>"
        "<tr><td colspan=2>cccccccccc</td></tr>"
        "<tr><td rowspan=2>d</td><td>e</td></tr><tr><td>f</td></tr></table>",
        0);
    const auto cells = Cells(l.layout);
    ASSERT_EQ(cells.size(), 6u);
    // The spanning cell (62) is wider than 26 + 2 + 8: its extra is shared by both columns.
    EXPECT_EQ(cells[2].Width(), 62);
    EXPECT_EQ(cells[0].Width() + 2 + cells[1].Width(), 62);
    EXPECT_EQ(cells[0].left, 2);
    EXPECT_EQ(cells[1].left, cells[0].right + 2);
    // "d" spans the rows of "e" and "f"; "f" sits in the second column.
    EXPECT_EQ(cells[3].top, cells[4].top);
    EXPECT_EQ(cells[3].bottom, cells[5].bottom);
    EXPECT_EQ(cells[5].left, cells[4].left);
    EXPECT_EQ(l.layout.width, 2 + 62 + 2);
}

TEST(Layout, ATableWiderThanTheRoomIsNarrowedAndItsCellsWrap) {
    Laid l(
        "<table cellspacing=0 cellpadding=0><tr><td>aaaa aaaa aaaa</td><td>bbbb bbbb "
        "bbbb</td></tr></table>",
        100);
    const auto cells = Cells(l.layout);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(l.layout.width, 100);
    EXPECT_EQ(cells[0].Width() + cells[1].Width(), 100);
    EXPECT_GT(cells[0].Height(), 20);
}

TEST(Layout, ATableInsideCenterIsCentred) {
    Laid l("<center><table cellspacing=0 cellpadding=0><tr><td>abcd</td></tr></table></center>",
           124);
    const auto cells = Cells(l.layout);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].left, 50);
}

TEST(Layout, AbsurdSpansStayInsideTheGrid) {
    Laid l("<table><tr><td colspan=100000 rowspan=100000>a</td><td>b</td></tr></table>", 300);
    const auto cells = Cells(l.layout);
    ASSERT_EQ(cells.size(), 1u);  // the 64 columns of the grid are all the first cell's
    EXPECT_LE(l.layout.width, 300);
}

}  // namespace
