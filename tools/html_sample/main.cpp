// A development tool: one dialog that shows a rich markup sample in a CPPHtmlStatic.
// "-shot" closes it after a few seconds, for tools/html_sample/screenshot.sh.
#include "controls/html/pp_html_static.h"
#include "html_sample_rc.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kLinkMessage = WM_APP + 1;

const char kSample[] =
    "<h1>Velbrook renderer</h1> <font color=\"#FF0000\"><b>Not Sure?? </b></font> "
    "<font color=\"000000\">Which Program's to Check/Uncheck from list</font><br>"
    "<b>bold</b>, <i>italic</i>, <u>underline</u>, <s>strike</s>, <code>code()</code>, "
    "<font face=Georgia size=5 color=navy>Georgia 5</font>, <big>big</big> <small>small</small>, "
    "H<sub>2</sub>O x<sup>2</sup>, <span class=\"cpp-comment\">// a comment</span><br>"
    "Entities: &lt;b&gt; &amp; &copy; &reg; &trade; &euro; &pound; &para; &bull; &iquest;<br>"
    "<font bkgnd=yellow>background</font> <font color=windowtext bkgnd=infobackground>"
    "system colours</font> <font color=0x00A000>0x00BBGGRR green</font> "
    "<font style=\"text-transform:uppercase; text-decoration:overline\">upper</font><br>"
    "Links: <a href=\"http://example.invalid/\">an address</a> and <a msg=\"hello\">a message</a>"
    " <bmp idres=1 width=16 height=16> <icon handle=%ICON% width=16 height=16> "
    "<string idres=1><hr width=80% size=2 color=#ff9900>"
    "<center><table border=1 cellpadding=3 cellspacing=2 bordercolor=gray>"
    "<tr><td colspan=3 bgcolor=#3366CC bgendcolor=#99CCFF bgeffect=hgradient align=center>"
    "<font color=white><b>Table with spans</b></font></td></tr>"
    "<tr><td rowspan=2 bgcolor=#FFE0A0 bgeffect=softbump valign=middle>rowspan 2</td>"
    "<td bgcolor=silver bgeffect=metal>metal</td><td bgcolor=#C0FFC0 bgeffect=vgradient "
    "bgendcolor=green>vgradient</td></tr>"
    "<tr><td bgcolor=#D0D0FF bgeffect=hardbump>hardbump</td><td bgcolor=wheat bgeffect=noise>"
    "noise</td></tr>"
    "<tr><td bgcolor=pink bgeffect=diagshade bgendcolor=purple>diagshade</td>"
    "<td bgcolor=#A0E0E0 bgeffect=hcgradient bgendcolor=white>hcgradient</td>"
    "<td bgcolor=#E0C0FF bgeffect=3vgradient bgmidcolor=white bgendcolor=#8040C0>3vgradient"
    "</td></tr></table></center>"
    "<pre>pre: int main() { return 0; }</pre>\n"
    "<right><font size=1 color=gray>right aligned, HTML size 1</font></right>";

class SampleDialog {
  public:
    explicit SampleDialog(bool shot) : shot_(shot) {}

    INT_PTR Run(HINSTANCE instance) {
        return ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_HTML_SAMPLE), nullptr, Trampoline,
                                 reinterpret_cast<LPARAM>(this));
    }

  private:
    using Handler = INT_PTR (SampleDialog::*)(WPARAM, LPARAM);
    struct Entry {
        UINT message;
        Handler handler;
    };

    static INT_PTR CALLBACK Trampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        static constexpr Entry kMessages[] = {
            {WM_INITDIALOG, &SampleDialog::OnInitDialog},
            {WM_TIMER, &SampleDialog::OnTimer},
            {WM_CLOSE, &SampleDialog::OnClose},
            {kLinkMessage, &SampleDialog::OnLinkMessage},
        };
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            reinterpret_cast<SampleDialog*>(lParam)->hwnd_ = dialog;
        }
        auto* self = reinterpret_cast<SampleDialog*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        if (!self) {
            return FALSE;
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrA(dialog, DWLP_USER, 0);
        }
        for (const auto& e : kMessages) {
            if (e.message == message) {
                return (self->*e.handler)(wParam, lParam);
            }
        }
        return FALSE;
    }

    INT_PTR OnInitDialog(WPARAM, LPARAM) {
        ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        html_.SubclassDlgItem(IDC_SAMPLE_HTML, hwnd_);
        html_.Drawer().SetCallbackHyperlink(hwnd_, kLinkMessage);
        std::string text = kSample;
        const HICON icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION
        const std::string handle = std::to_string(reinterpret_cast<UINT_PTR>(icon));
        text.replace(text.find("%ICON%"), 6, handle);
        html_.SetWindowText(text);
        if (shot_) {
            ::SetTimer(hwnd_, kCloseTimer, 8000, nullptr);
        }
        return TRUE;
    }
    INT_PTR OnTimer(WPARAM, LPARAM) {
        ::EndDialog(hwnd_, 0);
        return TRUE;
    }
    INT_PTR OnClose(WPARAM, LPARAM) {
        ::EndDialog(hwnd_, 0);
        return TRUE;
    }
    INT_PTR OnLinkMessage(WPARAM wParam, LPARAM) {
        ::MessageBoxA(hwnd_, reinterpret_cast<const char*>(wParam), "Message link", MB_OK);
        return TRUE;
    }

    HWND hwnd_ = nullptr;
    bool shot_;
    controls::html::CPPHtmlStatic html_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
    SampleDialog dialog(std::strstr(commandLine, "-shot") != nullptr);
    return static_cast<int>(dialog.Run(instance));
}
