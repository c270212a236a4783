#include "shell/placeholder_page.h"

#include <utility>

namespace shell {

CPlaceholderPage::CPlaceholderPage(std::string title, Size size)
    : DialogImpl(static_cast<UINT>(size), RGB(240, 240, 240)), title_(std::move(title)) {}

const controls::MessageTable<CPlaceholderPage>& CPlaceholderPage::Messages() {
    static const controls::MessageTable<CPlaceholderPage> table = {
        controls::OnMessage(WM_INITDIALOG, &CPlaceholderPage::OnInitDialog),
    };
    return table;
}

LRESULT CPlaceholderPage::OnInitDialog(WPARAM, LPARAM) {
    font_.reset(::CreateFontA(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                              DEFAULT_PITCH, "Arial"));
    ::SendDlgItemMessageA(hwnd(), IDC_PLACEHOLDER_TITLE, WM_SETFONT,
                          reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::SetDlgItemTextA(hwnd(), IDC_PLACEHOLDER_TITLE, title_.c_str());
    return TRUE;
}

}  // namespace shell
