#include "shell/tab_settings_page.h"

#include "res/art_ids.h"

namespace shell {

namespace {

constexpr UINT kButtonIds[3] = {IDC_TAB_SETTINGS, IDC_TAB_IGNORE_LIST, IDC_TAB_HISTORY};
constexpr art::ButtonBitmaps kButtonBitmaps[3] = {art::kTabSettings, art::kTabIgnoreList,
                                                  art::kTabHistory};
// Where the child pages sit, in the page's pixels.
constexpr RECT kChildArea{9, 39, 680, 385};
constexpr COLORREF kFrameColour = RGB(225, 225, 225);

}  // namespace

CTabSettingsPage::CTabSettingsPage()
    : DialogImpl(IDD_TAB_SETTINGS_PAGE, RGB(240, 240, 240)), children_(CreateSettingsSubPages()) {}

const controls::MessageTable<CTabSettingsPage>& CTabSettingsPage::Messages() {
    static const controls::MessageTable<CTabSettingsPage> table = {
        controls::OnMessage(WM_INITDIALOG, &CTabSettingsPage::OnInitDialog),
        controls::OnMessage(WM_SHOWWINDOW, &CTabSettingsPage::OnShowWindow),
        controls::OnMessage(WM_PAINT, &CTabSettingsPage::OnPaint),
        controls::OnCommandRange(IDC_TAB_SETTINGS, IDC_TAB_HISTORY, &CTabSettingsPage::OnTabButton),
    };
    return table;
}

controls::CDialog* CTabSettingsPage::Child(int index) const {
    return index >= 0 && index < static_cast<int>(children_.size()) ? children_[index].get()
                                                                    : nullptr;
}

LRESULT CTabSettingsPage::OnInitDialog(WPARAM, LPARAM) {
    for (int i = 0; i < 3; ++i) {
        buttons_[i].SubclassDlgItem(kButtonIds[i], hwnd());
        buttons_[i].SetBitmaps(kButtonBitmaps[i]);
    }
    // The buttons stay where they are; the children grow with the page.
    for (auto& child : children_) {
        if (child && child->Create(hwnd())) {
            ::SetWindowPos(child->hwnd(), nullptr, kChildArea.left, kChildArea.top,
                           kChildArea.right - kChildArea.left, kChildArea.bottom - kChildArea.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
            Anchor(child->hwnd(), controls::kStretchWidth | controls::kStretchHeight);
        }
    }
    return TRUE;
}

LRESULT CTabSettingsPage::OnShowWindow(WPARAM shown, LPARAM) {
    if (shown && visible_ < 0) {
        SelectChild(0);
    } else if (shown) {
        ShowChildAgain();
    }
    SetMsgHandled(false);
    return 0;
}

LRESULT CTabSettingsPage::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd(), &paint);
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const RECT frame{client.left + 5, client.top + 34, client.right - 5, client.bottom - 5};
    platform::unique_hbrush brush(::CreateSolidBrush(kFrameColour));
    ::FrameRect(dc, &frame, brush.get());
    ::EndPaint(hwnd(), &paint);
    return 0;
}

void CTabSettingsPage::OnTabButton(UINT id) {
    SelectChild(static_cast<int>(id - IDC_TAB_SETTINGS));
}

void CTabSettingsPage::SelectChild(int index) {
    if (index == visible_) {
        // Hidden, the page shows its child again when it is shown itself.
        if (::IsWindowVisible(hwnd())) {
            ShowChildAgain();
        }
        return;
    }
    if (index < 0 || index > 2) {
        return;
    }
    if (controls::CDialog* child = Child(index); child && child->hwnd()) {
        ::ShowWindow(child->hwnd(), SW_SHOW);
    }
    controls::ShowButtonChosen(buttons_[index], kButtonBitmaps[index], true);
    if (visible_ >= 0) {
        if (controls::CDialog* child = Child(visible_); child && child->hwnd()) {
            ::ShowWindow(child->hwnd(), SW_HIDE);
        }
        controls::ShowButtonChosen(buttons_[visible_], kButtonBitmaps[visible_], false);
    }
    visible_ = index;
}

// A child page reads its files when it is shown. A child window gets no show notification when
// its parent is shown, nor when it is chosen while already chosen: it is hidden and shown again,
// so that whatever way leads to it, it shows what the files hold now.
void CTabSettingsPage::ShowChildAgain() {
    if (controls::CDialog* child = Child(visible_); child && child->hwnd()) {
        ::ShowWindow(child->hwnd(), SW_HIDE);
        ::ShowWindow(child->hwnd(), SW_SHOW);
    }
}

}  // namespace shell
