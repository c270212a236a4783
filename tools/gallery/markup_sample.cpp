#include "markup_sample.h"

#include "controls/html/pp_draw_manager.h"
#include "platform/gdi_select.h"
#include "res/art_ids.h"
#include "gallery_ids.h"

#include <commctrl.h>

#include <cmath>

namespace gallery {
namespace {

constexpr int kSide = 16;
constexpr int kFrames = 8;
constexpr COLORREF kMaskColor = RGB(255, 0, 255);

// One dot of the ring ahead, the older ones fading out behind it.
void DrawSpinnerFrame(HDC dc, int frame) {
    const double pi = std::acos(-1.0);
    for (int dot = 0; dot < kFrames; ++dot) {
        const int age = (frame - dot + kFrames) % kFrames;
        const COLORREF color = controls::html::CPPDrawManager::Mix(
            RGB(32, 77, 165), RGB(225, 225, 225), age, kFrames - 1);
        platform::unique_hbrush brush(::CreateSolidBrush(color));
        platform::SelectedObject selectBrush(dc, brush.get());
        const double angle = 2 * pi * dot / kFrames;
        const int x = frame * kSide + 8 + static_cast<int>(std::lround(6 * std::sin(angle)));
        const int y = 8 - static_cast<int>(std::lround(6 * std::cos(angle)));
        ::Ellipse(dc, x - 2, y - 2, x + 2, y + 2);  // without an outline: 3 x 3 pixels
    }
}

}  // namespace

platform::unique_himagelist MakeSpinnerFrames() {
    platform::unique_himagelist list(
        ::ImageList_Create(kSide, kSide, ILC_COLOR24 | ILC_MASK, kFrames, 0));
    platform::unique_hdc dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), kSide * kFrames, -kSide, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    platform::unique_hbitmap strip(
        ::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!list || !dc || !strip) {
        return {};
    }
    {
        platform::SelectedObject selectStrip(dc.get(), strip.get());
        platform::SelectedObject noOutline(dc.get(), ::GetStockObject(NULL_PEN));
        platform::unique_hbrush mask(::CreateSolidBrush(kMaskColor));
        const RECT all{0, 0, kSide * kFrames, kSide};
        ::FillRect(dc.get(), &all, mask.get());
        for (int frame = 0; frame < kFrames; ++frame) {
            DrawSpinnerFrame(dc.get(), frame);
        }
    }
    ::ImageList_AddMasked(list.get(), strip.get(), kMaskColor);
    return list;
}

std::string MarkupSample(HICON icon, HIMAGELIST spinner) {
    const std::string iconHandle = std::to_string(reinterpret_cast<UINT_PTR>(icon));
    const std::string spinnerHandle = std::to_string(reinterpret_cast<UINT_PTR>(spinner));
    return "<h1>Velbrook renderer</h1> <font color=\"#FF0000\"><b>Not Sure?? </b></font> "
           "<font color=\"000000\">Which Program's to Check/Uncheck from list</font><br>"
           "<b>bold</b>, <i>italic</i>, <u>underline</u>, <s>strike</s>, <code>code()</code>, "
           "<font face=Georgia size=5 color=navy>Georgia 5</font>, <big>big</big> "
           "<small>small</small>, H<sub>2</sub>O x<sup>2</sup>, "
           "<span class=\"cpp-comment\">// a comment</span><br>"
           "Entities: &lt;b&gt; &amp; &copy; &reg; &trade; &euro; &pound; &para; &bull; "
           "&iquest;<br>"
           "<font bkgnd=yellow>background</font> <font color=windowtext bkgnd=infobackground>"
           "system colours</font> <font color=0x00A000>0x00BBGGRR green</font> "
           "<font style=\"text-transform:uppercase; text-decoration:overline\">upper</font><br>"
           "Links: <a href=\"http://example.invalid/\">an address</a> and "
           "<a msg=\"hello\">a message</a> <bmp idres=" +
           std::to_string(art::kPageLogoBitmap) +
           " width=16 height=16> <icon handle=" + iconHandle +
           " width=16 height=16> <string idres=" + std::to_string(IDS_HTML_SAMPLE) +
           "><br>"
           "Animated: <ilst handle=" +
           spinnerHandle +
           " speed=100> an image list at speed=100, and from index=4 at speed=400 "
           "<ilst handle=" +
           spinnerHandle +
           " index=4 speed=400>"
           "<br><justify>Justified: a paragraph long enough to wrap, so that each of its lines "
           "but the last stretches to the width of the control, with "
           "<font style=\"padding:2px; margin:2px; border-style:solid; border-width:1px; "
           "border-color:#3366CC; background-color:#E8F0FF\">a boxed phrase that has padding, "
           "a margin and a border</font> that keeps its frame when it wraps.</justify>"
           "<hr width=80% size=2 color=#ff9900>"
           "<center><table border=1 cellpadding=3 cellspacing=2 bordercolor=gray>"
           "<tr><td colspan=3 bgcolor=#3366CC bgendcolor=#99CCFF bgeffect=hgradient "
           "align=center><font color=white><b>Table with spans</b></font></td></tr>"
           "<tr><td rowspan=2 bgcolor=#FFE0A0 bgeffect=softbump valign=middle>rowspan 2</td>"
           "<td bgcolor=silver bgeffect=metal>metal</td><td bgcolor=#C0FFC0 bgeffect=vgradient "
           "bgendcolor=green>vgradient</td></tr>"
           "<tr><td bgcolor=#D0D0FF bgeffect=hardbump>hardbump</td><td bgcolor=wheat "
           "bgeffect=noise>noise</td></tr>"
           "<tr><td bgcolor=pink bgeffect=diagshade bgendcolor=purple>diagshade</td>"
           "<td bgcolor=#A0E0E0 bgeffect=hcgradient bgendcolor=white>hcgradient</td>"
           "<td bgcolor=#E0C0FF bgeffect=3vgradient bgmidcolor=white bgendcolor=#8040C0>"
           "3vgradient</td></tr></table></center>"
           "<pre>pre: int main() { return 0; }</pre>\n"
           "<right><font size=1 color=gray>right aligned, HTML size 1</font></right>";
}

}  // namespace gallery
