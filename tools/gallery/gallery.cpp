// Control gallery: every skinned control in its states, for looking at them (and for the
// screenshot that tools/gallery-screenshot.sh takes). Built twice, with 8-bit and with UTF-16
// texts, from the same sources as the controls themselves; the markup renderer, which has
// 8-bit texts only, is shown by the 8-bit gallery alone.
//   controls_gallery.exe [--close-after MILLISECONDS]

#include "controls/base_dlg.h"
#include "controls/hyperlink_button.h"
#include "controls/label.h"
#include "controls/picture_ex.h"
#include "controls/singleton.h"
#include "controls/sortable_list_view.h"
#include "controls/xp_button.h"
#include "platform/com.h"
#include "res/art_ids.h"
#include "gallery_ids.h"
#ifndef UNICODE
#include "controls/html/pp_html_static.h"
#include "platform/message_box.h"
#include "markup_sample.h"
#endif

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>

namespace {

using namespace controls;

constexpr UINT_PTR kCloseTimer = 100;
#ifndef UNICODE
constexpr UINT kSampleLinkMessage = WM_APP + 1;  // the sample's "msg" link
#endif

class CGalleryDlg : public DialogImpl<CGalleryDlg, CBaseDlg> {
public:
    explicit CGalleryDlg(UINT closeAfterMs)
        : DialogImpl(IDD_GALLERY, RGB(240, 240, 240)),
          closeAfterMs_(closeAfterMs),
          stretched_(CXPButton::kStretched) {}

    static const MessageTable<CGalleryDlg>& Messages() {
        static const MessageTable<CGalleryDlg> table = {
            OnMessage(WM_INITDIALOG, &CGalleryDlg::OnInitDialog),
            OnCommand(IDCANCEL, &CGalleryDlg::OnClose),
            OnTimer(kCloseTimer, &CGalleryDlg::OnClose),
            OnNotify(IDC_LABEL_WEB, kLabelClicked, &CGalleryDlg::OnWebLabelClicked),
#ifndef UNICODE
            OnMessage(kSampleLinkMessage, &CGalleryDlg::OnSampleMessageLink),
#endif
        };
        return table;
    }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM) {
        SetUpLabels();
        SetUpButtons();
        SetUpPictures();
        SetUpList();
#ifdef UNICODE
        Anchor(IDC_LIST, kStretchWidth | kStretchHeight);
#else
        SetUpMarkupSample();
        Anchor(IDC_LIST, kStretchWidth);
        Anchor(IDC_HTML_SAMPLE, kStretchWidth | kStretchHeight);
#endif
        if (closeAfterMs_) {
            SetTimer(kCloseTimer, closeAfterMs_);
        }
        return FALSE;  // the focus was given to the "hot" button
    }

    void SetUpLabels() {
        for (auto& [label, id] : {std::pair<CLabel&, UINT>{plain_, IDC_LABEL_PLAIN},
                                  {bold_, IDC_LABEL_BOLD},
                                  {gradient_, IDC_LABEL_GRADIENT},
                                  {text3D_, IDC_LABEL_3D},
                                  {rotated_, IDC_LABEL_ROTATED},
                                  {web_, IDC_LABEL_WEB},
                                  {mail_, IDC_LABEL_MAIL},
                                  {flash_, IDC_LABEL_FLASH},
                                  {sunken_, IDC_LABEL_SUNKEN},
                                  {transparent_, IDC_LABEL_TRANSPARENT}}) {
            label.SubclassDlgItem(id, hwnd());
        }
        plain_.SetBkColor(background());
        bold_.SetBkColor(background())
            .SetTextColor(RGB(255, 0, 0))
            .SetFontName(TEXT("Arial"))
            .SetFontSize(12)
            .SetFontBold(true);
        gradient_.SetBkColor(RGB(30, 80, 160), RGB(200, 230, 255), true)
            .SetTextColor(RGB(255, 255, 255))
            .SetFontBold(true);
        text3D_.SetBkColor(RGB(160, 160, 160))
            .SetTextColor(RGB(40, 40, 40))
            .SetFontSize(11)
            .SetFontBold(true)
            .SetText3D(true);
        rotated_.SetBkColor(RGB(255, 250, 220))
            .SetFontName(TEXT("Arial"))
            .SetFontSize(10)
            .SetRotationAngle(90);
        web_.SetBkColor(background())
            .SetTextColor(RGB(32, 77, 165))
            .SetFontUnderline(true)
            .SetTextHoverColor(RGB(255, 0, 0))
            .SetLink(true, true);
        mail_.SetBkColor(background())
            .SetTextColor(RGB(32, 77, 165))
            .SetFontUnderline(true)
            .SetMailLink(true, false);
        flash_.SetBkColor(RGB(255, 255, 0)).SetTextColor(RGB(200, 0, 0)).FlashText(true);
        sunken_.SetBkColor(RGB(255, 255, 255)).SetSunken(true).SetBorder(true);
        transparent_.SetTextColor(RGB(0, 120, 0)).SetTransparent(true);
    }

    void SetUpButtons() {
        normal_.SubclassDlgItem(IDC_BUTTON_NORMAL, hwnd());
        hot_.SubclassDlgItem(IDC_BUTTON_HOT, hwnd());
        pressed_.SubclassDlgItem(IDC_BUTTON_PRESSED, hwnd());
        noPressed_.SubclassDlgItem(IDC_BUTTON_NO_PRESSED, hwnd());
        icon_.SubclassDlgItem(IDC_BUTTON_ICON, hwnd());
        stretched_.SubclassDlgItem(IDC_BUTTON_STRETCHED, hwnd());
        small_.SubclassDlgItem(IDC_BUTTON_SMALL, hwnd());
        normal_.SetBitmaps(art::kHeaderHome);
        hot_.SetBitmaps(art::kHeaderHome);
        pressed_.SetBitmaps(art::kHeaderHome);
        noPressed_.SetBitmaps(art::kSave.normal, art::kSave.hot, 0);
        ::SetWindowText(noPressed_.hwnd(), TEXT("(nothing)"));
        // No bitmaps: the caption and the icon alone.
        icon_.SetIcon(::LoadIcon(::GetModuleHandle(nullptr), MAKEINTRESOURCE(art::kMainIcon)));
        icon_.SetCaptionColors(RGB(32, 77, 165), RGB(32, 77, 165));
        stretched_.SetBitmaps(art::kFixNow);
        stretched_.SetElevationShield(true);
        small_.SetBitmaps(art::kUpdateClose);
        // The real drawing states: focus shows the hot face, a held button the pressed one.
        ::SetFocus(hot_.hwnd());
        ::SendMessage(pressed_.hwnd(), BM_SETSTATE, TRUE, 0);
        ::SendMessage(noPressed_.hwnd(), BM_SETSTATE, TRUE, 0);

        link_.SubclassDlgItem(IDC_LINK_PLAIN, hwnd());
        link_.SetFont(TEXT("Arial"), 14, false);
        link_.SetColors(RGB(32, 77, 165), RGB(32, 77, 165), background());
        linkBitmap_.SubclassDlgItem(IDC_LINK_BITMAP, hwnd());
        linkBitmap_.SetFont(TEXT("Arial"), 14, true);
        linkBitmap_.SetColors(RGB(0, 128, 0), RGB(255, 0, 0), background());
        linkBitmap_.SetBitmap(art::kSortUpBitmap, RGB(240, 240, 240));
    }

    void SetUpPictures() {
        scan_.SubclassDlgItem(IDC_PICTURE_SCAN, hwnd());
        download_.SubclassDlgItem(IDC_PICTURE_DOWNLOAD, hwnd());
        still_.SubclassDlgItem(IDC_PICTURE_STILL, hwnd());
        for (auto* picture : {&scan_, &download_, &still_}) {
            picture->SetBkColor(background());
        }
        if (scan_.Load(art::kScanAnimation)) {
            scan_.Draw();
        }
        if (download_.Load(art::kDownloadAnimation)) {
            download_.Draw();
        }
        if (still_.Load(IDR_STILL_LOGO)) {
            still_.Draw();
        }
    }

    void SetUpList() {
        list_.SubclassDlgItem(IDC_LIST, hwnd());
        HWND list = list_.hwnd();
        ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        const TCHAR* titles[] = {TEXT("Name"), TEXT("Status"), TEXT("Command")};
        const int widths[] = {150, 90, 480};
        for (int c = 0; c < 3; ++c) {
            LVCOLUMN column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<TCHAR*>(titles[c]);
            column.cx = widths[c];
            ListView_InsertColumn(list, c, &column);
        }
        const TCHAR* rows[][3] = {
            {TEXT("apple"), TEXT("Active"), TEXT("C:\\Program Files\\Apple\\updater.exe")},
            {TEXT("Banana"), TEXT("Disabled"), TEXT("C:\\Tools\\banana.exe -tray")},
            {TEXT("cherry"), TEXT("Active"), TEXT("C:\\Windows\\cherry.exe")},
            {TEXT("Date Sync"), TEXT("Active"), TEXT("\"C:\\Program Files\\Date\\sync.exe\"")},
        };
        for (int r = 0; r < 4; ++r) {
            LVITEM item{};
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.pszText = const_cast<TCHAR*>(rows[r][0]);
            const int row = ListView_InsertItem(list, &item);
            ListView_SetItemText(list, row, 1, const_cast<TCHAR*>(rows[r][1]));
            ListView_SetItemText(list, row, 2, const_cast<TCHAR*>(rows[r][2]));
        }
        list_.SetComparerForAllColumns(Singleton<TextComparerCI>::Instance());
        list_.SortByColumn(0, kSortAscending);
        list_.SortByColumn(0, kSortDescending);
    }

#ifndef UNICODE
    void SetUpMarkupSample() {
        spinner_ = gallery::MakeSpinnerFrames();
        sample_.SubclassDlgItem(IDC_HTML_SAMPLE, hwnd());
        sample_.Drawer().SetCallbackHyperlink(hwnd(), kSampleLinkMessage);
        // A shared system icon: borrowed, never destroyed.
        const HICON information = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32516));
        sample_.SetWindowText(gallery::MarkupSample(information, spinner_.get()));
    }

    LRESULT OnSampleMessageLink(WPARAM text, LPARAM) {
        platform::ShowMessageBox(hwnd(), reinterpret_cast<const char*>(text), "Message link",
                                 MB_OK);
        return TRUE;
    }
#endif

    LRESULT OnWebLabelClicked(NMHDR*) { return 0; }
    void OnClose() { EndDialog(IDCANCEL); }

    UINT closeAfterMs_;
    CLabel plain_, bold_, gradient_, text3D_, rotated_, web_, mail_, flash_, sunken_, transparent_;
    CXPButton normal_, hot_, pressed_, noPressed_, icon_, stretched_, small_;
    CHyperLinkButton link_, linkBitmap_;
    CPictureEx scan_, download_, still_;
    CSortableListView list_;
#ifndef UNICODE
    platform::unique_himagelist spinner_;  // declared first: the sample borrows it
    html::CPPHtmlStatic sample_;
#endif
};

UINT CloseAfterFromCommandLine() {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    UINT ms = 0;
    for (int i = 1; args && i + 1 < count; ++i) {
        if (std::wcscmp(args[i], L"--close-after") == 0) {
            ms = static_cast<UINT>(std::wcstoul(args[i + 1], nullptr, 10));
        }
    }
    ::LocalFree(args);
    return ms;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
    platform::ComApartment apartment;
    CGalleryDlg gallery(CloseAfterFromCommandLine());
    gallery.DoModal(nullptr);
    return 0;
}
