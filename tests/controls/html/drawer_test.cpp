// The renderer with real GDI fonts: measuring, painting, pictures, links and the control.
#include "controls/html/pp_html_static.h"
#include "malformed_markup.h"
#include "test_resources.h"

#include "platform/gdi_select.h"

#include <gtest/gtest.h>

#include <vector>

using namespace controls::html;

namespace {

constexpr const char* kHint =
    "<font color=\"#FF0000\"><b>Not Sure?? </b></font> <font color=\"000000\">Which Program's "
    "to Check/Uncheck from list</font>";

std::vector<const DrawOp*> TextsOf(const Layout& layout) {
    std::vector<const DrawOp*> out;
    for (const auto& op : layout.ops) {
        if (op.kind == DrawOp::Kind::Text) {
            out.push_back(&op);
        }
    }
    return out;
}

// A white 32-bit bitmap in a memory DC that the drawer paints into.
class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        select_.emplace(dc_.get(), bitmap_.get());
        const RECT all{0, 0, width, height};
        ::FillRect(dc_.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    HDC dc() const { return dc_.get(); }
    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of exactly this colour (0x00BBGGRR) in columns [left, right).
    int Count(COLORREF color, int left, int right) const {
        ::GdiFlush();
        const std::uint32_t want =
            ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
        int n = 0;
        for (int y = 0; y < height_; ++y) {
            for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
                n += (bits_[y * width_ + x] & 0xFFFFFF) == want;
            }
        }
        return n;
    }

private:
    int width_, height_;
    platform::unique_hdc dc_;
    platform::unique_hbitmap bitmap_;
    const std::uint32_t* bits_ = nullptr;
    std::optional<platform::SelectedObject> select_;
};

TEST(GdiLayout, HundredFiftyPercentOfTenPointsIsFifteenPoints) {
    CPPHtmlDrawer drawer;
    drawer.SetText("<font size=\"150%\">big</font><font size=\"15pt\">same</font>");
    drawer.PrepareOutput(0);
    const auto texts = TextsOf(drawer.PreparedLayout());
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->style->sizePt, 15);
    EXPECT_EQ(texts[0]->rect.Height(), texts[1]->rect.Height());
    EXPECT_GT(texts[0]->rect.Height(), 15);  // a 15 pt font is 20 px high at 96 dpi
}

TEST(GdiLayout, ALongWordIsSplitAtTheLastCharacterThatFits) {
    GdiTextMeasure measure;
    const TextStyle body;  // Verdana 10 pt, as the body rule gives
    const std::string word = "Supercalifragilisticexpialidocious";
    const int width = measure.TextWidth(body, word.substr(0, 12));
    ASSERT_GT(measure.TextWidth(body, word.substr(0, 13)), width);
    CPPHtmlDrawer drawer;
    drawer.SetText(word);
    drawer.PrepareOutput(width);
    const auto texts = TextsOf(drawer.PreparedLayout());
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, word.substr(0, 12));
    EXPECT_EQ(texts[1]->text.substr(0, 1), word.substr(12, 1));
    std::string joined;
    for (auto* t : texts) {
        joined += t->text;
        EXPECT_LE(t->rect.Width(), width) << t->text;
    }
    EXPECT_EQ(joined, word);
}

TEST(DrawerPaint, TheHintLineIsRedThenBlack) {
    CPPHtmlDrawer drawer;
    drawer.SetText(kHint);
    const SIZE size = drawer.PrepareOutput(0);
    const auto texts = TextsOf(drawer.PreparedLayout());
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(size.cy, texts[0]->rect.Height());
    Canvas canvas(size.cx + 10, size.cy + 4);
    drawer.DrawPreparedOutput(canvas.dc(), RECT{0, 0, size.cx + 10, size.cy + 4});
    const int redEnd = texts[0]->rect.right;
    const int blackStart = texts[2]->rect.left;
    EXPECT_GT(canvas.Count(RGB(255, 0, 0), 0, redEnd), 50);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), 0, redEnd), 0);
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), blackStart, size.cx), 100);
    EXPECT_EQ(canvas.Count(RGB(255, 0, 0), blackStart, size.cx), 0);
}

TEST(DrawerPaint, TableBackgroundsAndEffectsFillTheirCells) {
    CPPHtmlDrawer drawer;
    drawer.SetText(
        "<table cellspacing=0 border=1 bordercolor=black><tr>"
        "<td bgcolor=#00FF00 width=40 height=20></td>"
        "<td bgcolor=#0000FF bgendcolor=#FFFFFF bgeffect=hgradient width=40></td></tr>"
        "</table>");
    const SIZE size = drawer.PrepareOutput(200);
    Canvas canvas(200, 40);
    drawer.DrawPreparedOutput(canvas.dc(), RECT{0, 0, 200, 40});
    EXPECT_GT(canvas.Count(RGB(0, 255, 0), 0, 45), 300);
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), 0, size.cx), 100);  // the borders
    // The gradient goes from blue on the left to white on the right.
    const COLORREF left = canvas.Pixel(44, 10), right = canvas.Pixel(78, 10);
    EXPECT_GT(GetBValue(left), 200) << std::hex << left;
    EXPECT_LT(GetRValue(left), 80) << std::hex << left;
    EXPECT_GT(GetRValue(right), 180) << std::hex << right;
}

TEST(DrawerPaint, AnInlineBoxFillsItsPaddingAndDrawsItsBorder) {
    CPPHtmlDrawer drawer;
    drawer.AddCssStyles(
        ".box { padding: 4px; border-style: solid; border-width: 2px; "
        "border-color: #FF0000; background-color: #FFFF00 }");
    drawer.SetText("<span class=box>boxed</span> plain");
    const SIZE size = drawer.PrepareOutput(0);
    const DrawOp* frame = nullptr;
    for (const auto& op : drawer.PreparedLayout().ops) {
        if (op.kind == DrawOp::Kind::Frame) {
            frame = &op;
        }
    }
    ASSERT_NE(frame, nullptr);
    Canvas canvas(size.cx, size.cy);
    drawer.DrawPreparedOutput(canvas.dc(), RECT{0, 0, size.cx, size.cy});
    const controls::html::Rect r = frame->rect;
    EXPECT_EQ(canvas.Pixel(r.left, r.top + r.Height() / 2), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(r.right - 1, r.top + 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(r.left + 3, r.top + 3), RGB(255, 255, 0));  // the padding
    // The border is the box's own: the plain text after it has none.
    EXPECT_EQ(canvas.Count(RGB(255, 0, 0), r.right, size.cx), 0);
    EXPECT_EQ(canvas.Count(RGB(255, 255, 0), r.right, size.cx), 0);
}

TEST(DrawerPictures, ResourcesModulesFilesAndMissingOnes) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    CPPHtmlDrawer drawer;
    drawer.SetText(std::string("<bmp idres=1><bmp idres=1 width=16 height=4>"
                               "<bmp file=\"C:\\no\\such.bmp\"><bmp iddll=1 srcdll=\"nosuch.dll\">"
                               "<icon idres=77><ilst idres=999>"
                               "<string idres=1>|<string iddll=1 srcdll=\"") +
                   self + "\">|<string iddll=1 srcdll=\"C:\\nosuch.dll\">|<string idres=4242>");
    drawer.PrepareOutput(0);
    std::vector<const DrawOp*> pictures;
    std::string text;
    for (const auto& op : drawer.PreparedLayout().ops) {
        if (op.kind == DrawOp::Kind::Picture) {
            pictures.push_back(&op);
        } else if (op.kind == DrawOp::Kind::Text) {
            text += op.text;
        }
    }
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0]->rect.Width(), 8);
    EXPECT_EQ(pictures[0]->rect.Height(), 8);
    EXPECT_EQ(pictures[1]->rect.Width(), 16);
    EXPECT_EQ(pictures[1]->rect.Height(), 4);
    EXPECT_EQ(text, "Text from the string table|Text from the string table||");
    Canvas canvas(64, 32);
    drawer.DrawPreparedOutput(canvas.dc(), RECT{0, 0, 64, 32});
    EXPECT_EQ(canvas.Count(RGB(255, 0, 0), 0, 4), 4 * 8);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 255), 4, 8), 4 * 8);
}

// An image list of 8 x 8 images, one solid colour each; the markup borrows it by handle.
platform::unique_himagelist SolidImageList(std::initializer_list<COLORREF> colors) {
    platform::unique_himagelist list(::ImageList_Create(8, 8, ILC_COLOR24, 0, 4));
    platform::unique_hdc dc(::CreateCompatibleDC(nullptr));
    for (const COLORREF color : colors) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        platform::unique_hbitmap image(
            ::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        {
            platform::SelectedObject select(dc.get(), image.get());
            platform::unique_hbrush brush(::CreateSolidBrush(color));
            const RECT all{0, 0, 8, 8};
            ::FillRect(dc.get(), &all, brush.get());
        }
        ::ImageList_Add(list.get(), image.get(), nullptr);
    }
    return list;
}

std::string Handle(HIMAGELIST list) { return std::to_string(reinterpret_cast<UINT_PTR>(list)); }

POINT FirstPictureCentre(const CPPHtmlDrawer& drawer) {
    for (const auto& op : drawer.PreparedLayout().ops) {
        if (op.kind == DrawOp::Kind::Picture) {
            return {(op.rect.left + op.rect.right) / 2, (op.rect.top + op.rect.bottom) / 2};
        }
    }
    ADD_FAILURE() << "no picture";
    return {0, 0};
}

// The colour the drawer paints in the middle of its first picture.
COLORREF FirstPictureColor(CPPHtmlDrawer& drawer) {
    Canvas canvas(64, 32);
    drawer.DrawPreparedOutput(canvas.dc(), RECT{0, 0, 64, 32});
    const POINT centre = FirstPictureCentre(drawer);
    return canvas.Pixel(centre.x, centre.y);
}

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

TEST(DrawerAnimation, AnImageListStepsFromItsIndexAndWrapsRound) {
    const auto list = SolidImageList({kRed, kGreen, kBlue});
    CPPHtmlDrawer drawer;
    drawer.SetText("<a href=\"x\"><ilst handle=" + Handle(list.get()) + " index=1 speed=100></a>");
    drawer.PrepareOutput(0);
    EXPECT_EQ(drawer.AnimationInterval(), 100);
    EXPECT_EQ(FirstPictureColor(drawer), kGreen);
    EXPECT_FALSE(drawer.AdvanceAnimation(99));
    EXPECT_EQ(drawer.AnimationInterval(), 20);  // 1 ms left, held to the timer's bound
    EXPECT_TRUE(drawer.AdvanceAnimation(1));
    EXPECT_EQ(FirstPictureColor(drawer), kBlue);
    EXPECT_TRUE(drawer.AdvanceAnimation(100));
    EXPECT_EQ(FirstPictureColor(drawer), kRed);
    // Two frames at once and half of the next; a new layout or hovering keeps the frame.
    EXPECT_TRUE(drawer.AdvanceAnimation(250));
    EXPECT_EQ(drawer.AnimationInterval(), 50);
    drawer.PrepareOutput(300);
    ASSERT_TRUE(drawer.OnMouseMove(FirstPictureCentre(drawer)));
    EXPECT_EQ(FirstPictureColor(drawer), kBlue);
    // A whole number of rounds changes nothing; an absurd step neither spins nor breaks it.
    EXPECT_FALSE(drawer.AdvanceAnimation(300));
    EXPECT_TRUE(drawer.AdvanceAnimation(2'147'483'647));
    EXPECT_GE(drawer.AnimationInterval(), 20);
    EXPECT_FALSE(drawer.AdvanceAnimation(0));
    EXPECT_FALSE(drawer.AdvanceAnimation(-100));
    // A new text starts again at "index"; the borrowed list is left alone.
    drawer.SetText("<ilst handle=" + Handle(list.get()) + " index=1 speed=100>");
    drawer.PrepareOutput(0);
    EXPECT_EQ(FirstPictureColor(drawer), kGreen);
    drawer.SetText("none");
    EXPECT_EQ(::ImageList_GetImageCount(list.get()), 3);
}

TEST(DrawerAnimation, AStripFromTheResourcesIsAnimatedToo) {
    // sample.bmp is 8 x 8, red on the left and blue on the right: two images 4 wide. Without
    // a mask the top-left colour would be the transparent one.
    CPPHtmlDrawer drawer;
    drawer.SetText("<ilst idres=1 width=4 mask=#00FF00 speed=40>");
    drawer.PrepareOutput(0);
    EXPECT_EQ(FirstPictureColor(drawer), kRed);
    EXPECT_TRUE(drawer.AdvanceAnimation(40));
    EXPECT_EQ(FirstPictureColor(drawer), kBlue);
}

TEST(DrawerAnimation, WhatIsStillHasNoIntervalAndSpeedsAreHeldToBounds) {
    const auto three = SolidImageList({kRed, kGreen, kBlue});
    const auto one = SolidImageList({kRed});
    const std::string list = " handle=" + Handle(three.get());
    const struct {
        std::string markup;
        int interval;
    } cases[] = {
        {"plain text, <b>bold</b>", 0},
        {"<ilst" + list + ">", 0},
        {"<ilst" + list + " speed=0>", 0},
        {"<ilst" + list + " speed=-5>", 0},
        {"<ilst" + list + " speed=fast>", 0},
        {"<ilst handle=" + Handle(one.get()) + " speed=50>", 0},
        {"<bmp idres=1 speed=50>", 0},
        {"<ilst" + list + " speed=5>", 20},
        {"<ilst" + list + " speed=99999999999>", 60000},
        {"<ilst" + list + " speed=100><ilst" + list + " index=2 speed=60>", 60},
    };
    for (const auto& c : cases) {
        CPPHtmlDrawer drawer;
        drawer.SetText(c.markup);
        drawer.PrepareOutput(0);
        EXPECT_EQ(drawer.AnimationInterval(), c.interval) << c.markup;
        if (c.interval == 0) {
            EXPECT_FALSE(drawer.AdvanceAnimation(100000)) << c.markup;
        }
    }
    // Two speeds: the next tick comes when the nearer frame is due.
    CPPHtmlDrawer drawer;
    drawer.SetText("<ilst" + list + " speed=100><ilst" + list + " index=2 speed=60>");
    drawer.PrepareOutput(0);
    EXPECT_TRUE(drawer.AdvanceAnimation(60));
    EXPECT_EQ(drawer.AnimationInterval(), 40);
}

// Records what the drawer sends to its notification window.
struct Notified {
    std::vector<std::string> messages;
    std::vector<int> hovers;
};
constexpr UINT kLinkMessage = WM_APP + 1;
constexpr UINT kHoverMessage = WM_APP + 2;

INT_PTR CALLBACK RecordingDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    auto* notified = reinterpret_cast<Notified*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == kLinkMessage && notified) {
        notified->messages.push_back(reinterpret_cast<const char*>(wParam) + std::string(":") +
                                     std::to_string(lParam));
        return TRUE;
    }
    if (message == kHoverMessage && notified) {
        notified->hovers.push_back(static_cast<int>(wParam));
        return TRUE;
    }
    return FALSE;
}

class HtmlStaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_ =
            ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HTML_TEST),
                                 nullptr, RecordingDialog, reinterpret_cast<LPARAM>(&notified_));
        ASSERT_NE(dialog_, nullptr);
        ASSERT_TRUE(control_.SubclassDlgItem(IDC_HTML_STATIC, dialog_));
        control_.Drawer().SetCallbackHyperlink(dialog_, kLinkMessage, 42);
        control_.Drawer().SetCallbackHover(dialog_, kHoverMessage);
    }
    void TearDown() override {
        if (dialog_) {
            ::DestroyWindow(dialog_);
        }
    }
    // The centre of the first piece of link id.
    LPARAM PointOnLink(int id) const {
        for (const auto& area : control_.Drawer().PreparedLayout().links) {
            if (area.id == id) {
                return MAKELPARAM((area.rect.left + area.rect.right) / 2,
                                  (area.rect.top + area.rect.bottom) / 2);
            }
        }
        ADD_FAILURE() << "no link " << id;
        return 0;
    }
    HWND Control() const { return control_.hwnd(); }

    HWND dialog_ = nullptr;
    Notified notified_;
    CPPHtmlStatic control_;
};

TEST_F(HtmlStaticTest, TheBodyAndLinkRulesComeFromTheControlsFont) {
    LOGFONTA lf{};
    lf.lfHeight = -16;  // 12 pt at 96 dpi
    lf.lfWeight = 700;
    lf.lfItalic = TRUE;
    lstrcpyA(lf.lfFaceName, "Arial");
    EXPECT_EQ(CPPHtmlStatic::BodyRuleFor(lf, 96, 0x00123456),
              "body {font-size:12pt; color:0x123456; font-family:Arial; font-weight:700; "
              "font-style:italic}");
    EXPECT_EQ(CPPHtmlStatic::LinkRules(),
              "a:link {color:0xFF0000; text-decoration:none}\n"
              "a:hover {color:0xFF0000; text-decoration:underline}");

    platform::unique_hfont font(::CreateFontIndirectA(&lf));
    ::SendMessageA(Control(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    control_.SetWindowText("plain <a href=\"x\">link</a>");
    char stored[64] = {};
    ::GetWindowTextA(Control(), stored, sizeof(stored));
    EXPECT_STREQ(stored, "plain <a href=\"x\">link</a>");
    const auto texts = TextsOf(control_.Drawer().PreparedLayout());
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->style->face, "Arial");
    EXPECT_EQ(texts[0]->style->sizePt, 12);
    EXPECT_EQ(texts[0]->style->weight, 700);
    EXPECT_TRUE(texts[0]->style->italic);
    EXPECT_EQ(texts[0]->style->color, ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(texts[1]->style->color, RGB(0, 0, 255));
    EXPECT_FALSE(texts[1]->style->underline);
}

TEST_F(HtmlStaticTest, HoverNotificationsAndLeavingWithMinusTwo) {
    control_.SetWindowText("<a msg=\"one\">first</a> and <a msg=\"two\">second</a>");
    ::SendMessageA(Control(), WM_MOUSEMOVE, 0, PointOnLink(0));
    ::SendMessageA(Control(), WM_MOUSEMOVE, 0, PointOnLink(0));  // same link: no news
    EXPECT_TRUE(TextsOf(control_.Drawer().PreparedLayout())[0]->style->underline);
    ::SendMessageA(Control(), WM_MOUSEMOVE, 0, PointOnLink(1));
    ::SendMessageA(Control(), WM_MOUSEMOVE, 0, MAKELPARAM(299, 59));  // off every link
    ::SendMessageA(Control(), WM_MOUSEMOVE, 0, PointOnLink(1));
    ::SendMessageA(Control(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(notified_.hovers, (std::vector<int>{0, 1, -2, 1, -2}));
    EXPECT_FALSE(TextsOf(control_.Drawer().PreparedLayout())[0]->style->underline);
}

TEST_F(HtmlStaticTest, AMessageLinkSendsItsTextAndTheUserValue) {
    control_.SetWindowText("<a msg=\"one\">first</a> and <a msg=\"two\">second</a>");
    ::SendMessageA(Control(), WM_LBUTTONUP, 0, PointOnLink(1));
    ::SendMessageA(Control(), WM_LBUTTONUP, 0, MAKELPARAM(299, 59));
    EXPECT_EQ(notified_.messages, (std::vector<std::string>{"two:42"}));
}

TEST_F(HtmlStaticTest, PaintsTheMarkupThroughAMemoryBitmap) {
    control_.SetWindowText(kHint);
    ::RedrawWindow(Control(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // What reached the screen: read the window back through its DC.
    HDC window = ::GetDC(Control());
    int red = 0;
    for (int x = 0; x < 60; ++x) {
        for (int y = 0; y < 20; ++y) {
            red += ::GetPixel(window, x, y) == RGB(255, 0, 0);
        }
    }
    ::ReleaseDC(Control(), window);
    EXPECT_GT(red, 20);
}

TEST_F(HtmlStaticTest, AUtf16StaticGetsItsMarkupInTheAnsiCodePage) {
    // A static of common controls 6 is a UTF-16 window; its messages carry wide strings.
    HWND wide = ::CreateWindowExW(0, L"Static", L"<b>first</b>", WS_CHILD | WS_VISIBLE, 0, 0, 200,
                                  20, dialog_, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::IsWindowUnicode(wide));
    CPPHtmlStatic control;
    ASSERT_TRUE(control.Subclass(wide));
    EXPECT_EQ(control.Drawer().Text(), "<b>first</b>");
    // The process's code page is UTF-8, as the product's.
    control.SetWindowText("<i>caf\xC3\xA9 &copy;</i>");
    EXPECT_EQ(control.Drawer().Text(), "<i>caf\xC3\xA9 &copy;</i>");
    const auto texts = TextsOf(control.Drawer().PreparedLayout());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0]->style->italic);
    ::DestroyWindow(wide);
}

TEST_F(HtmlStaticTest, AnAnimatedPictureStepsOnTheControlsTimer) {
    const auto list = SolidImageList({kRed, kGreen, kBlue});
    // A minute a frame: only the timer messages sent here move it.
    const std::string animated = "<ilst handle=" + Handle(list.get()) + " speed=60000>";
    const auto onScreen = [this] {
        ::RedrawWindow(Control(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const POINT centre = FirstPictureCentre(control_.Drawer());
        HDC window = ::GetDC(Control());
        const COLORREF color = ::GetPixel(window, centre.x, centre.y);
        ::ReleaseDC(Control(), window);
        return color;
    };
    control_.SetWindowText(animated);
    EXPECT_EQ(onScreen(), kRed);
    ::SendMessageA(Control(), WM_TIMER, CPPHtmlStatic::kAnimationTimer, 0);
    EXPECT_EQ(onScreen(), kGreen);
    ::SendMessageA(Control(), WM_TIMER, 1, 0);  // not the control's
    EXPECT_EQ(onScreen(), kGreen);
    // Still text kills the timer; animated text sets it again.
    control_.SetWindowText("still");
    EXPECT_FALSE(::KillTimer(Control(), CPPHtmlStatic::kAnimationTimer));
    control_.SetWindowText(animated);
    EXPECT_TRUE(::KillTimer(Control(), CPPHtmlStatic::kAnimationTimer));
}

TEST(MalformedMarkup, TheGdiDrawerPaintsGeneratedDocuments) {
    CPPHtmlDrawer drawer;
    Canvas canvas(300, 200);
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        test_html::Random r(seed);
        drawer.SetText(test_html::MakeDocument(r));
        drawer.PrepareOutput(seed % 3 == 0 ? 0 : static_cast<int>(seed % 300));
        drawer.DrawPreparedOutput(canvas.dc(), RECT{0, 0, 300, 200});
        drawer.OnMouseMove(POINT{static_cast<LONG>(seed % 300), static_cast<LONG>(seed % 50)});
        drawer.OnMouseLeave();
        drawer.AdvanceAnimation(static_cast<int>(seed * 997));
    }
}

}  // namespace
