#include "history/home_page.h"

#include "engine/listing.h"
#include "engine/text.h"
#include "history/home_status.h"
#include "platform/app_messages.h"
#include "platform/text_codec.h"
#include "platform/unique_any.h"
#include "platform/web_page.h"
#include "res/art_ids.h"
#include "controls/page_host.h"
#include "update/site_config.h"
#include "views/wnd_startups_page.h"

#include <ctime>

namespace history {
namespace {

constexpr COLORREF kPageBackground = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBlue = RGB(0x20, 0x4D, 0xA5);
constexpr COLORREF kLightGreen = RGB(0xE8, 0xF7, 0xD7);
constexpr COLORREF kGrey = RGB(0xE1, 0xE1, 0xE1);
constexpr COLORREF kNearWhite = RGB(0xF5, 0xF5, 0xF5);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr char kTipHeading[] = "PC Maintenance Tips";
// Pixels a link gets beyond its text: the underline's overhang when lit.
constexpr int kLinkSlack = 2;

struct MaintenanceTip {
    const char* text;
    update::CompanionProduct product;
};

// Tips 2 and 3 carry the typographic apostrophe of Windows-1252.
constexpr MaintenanceTip kTips[kMaintenanceTipCount] = {
    {"Keep your system free of PC issues", update::CompanionProduct::Tessarine},
    {"Use Tessarine regularly and stay free of PC issues", update::CompanionProduct::Tessarine},
    {"Security is a big technological issue. Don\x92t forget to remove digital footprints "
     "regularly",
     update::CompanionProduct::Corvallo},
    {"Don\x92t let others intrude on your privacy. Use Corvallo.",
     update::CompanionProduct::Corvallo},
    {"Keep your PC free of bad files", update::CompanionProduct::FileRepair},
    {"Repair bad association problems", update::CompanionProduct::FileRepair},
};

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT area{left, top, right, bottom};
    platform::unique_hbrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &area, brush.get());
}

// The main window's Windows startups page, or null without a main window.
views::CWndStartupsPage* StartupsPage() {
    controls::PageHost* host = controls::CurrentPageHost();
    return host ? dynamic_cast<views::CWndStartupsPage*>(host->Page(controls::kWindowsStartupsPage))
                : nullptr;
}

void Place(HWND control, int x, int y, int width, int height) {
    ::MoveWindow(control, x, y, width, height, TRUE);
}

}  // namespace

CHomePage::CHomePage() : DialogImpl(IDD_HOME, kPageBackground) {}

const controls::MessageTable<CHomePage>& CHomePage::Messages() {
    static const controls::MessageTable<CHomePage> table = {
        controls::OnMessage(WM_INITDIALOG, &CHomePage::OnInitDialog),
        controls::OnMessage(WM_SHOWWINDOW, &CHomePage::OnShowWindow),
        controls::OnMessage(WM_SIZE, &CHomePage::OnSize),
        controls::OnMessage(WM_ERASEBKGND, &CHomePage::OnEraseBackground),
        controls::OnMessage(platform::MSG_ENTRIES_CHANGED, &CHomePage::OnEntriesChanged),
        controls::OnCommandCode(IDC_HOME_FIX, BN_CLICKED, &CHomePage::OnFixClicked),
        controls::OnCommandCode(IDC_HOME_VIEW_HISTORY, BN_CLICKED,
                                &CHomePage::OnViewHistoryClicked),
        controls::OnCommandCode(IDC_HOME_TIP_BUTTON, BN_CLICKED, &CHomePage::OnTipClicked),
    };
    return table;
}

const char* CHomePage::TipText(int index) {
    return index >= 0 && index < kMaintenanceTipCount ? kTips[index].text : "";
}

namespace {
// The tips are Windows-1252 texts; labels show the process's code page.
std::string ShownTip(const char* text) {
    return platform::text::Recode(text, 1252, platform::text::kAnsi);
}
}  // namespace

std::string CHomePage::TipAddress(const std::string& tipText) {
    for (const MaintenanceTip& tip : kTips) {
        if (tipText == tip.text || tipText == ShownTip(tip.text)) {
            return update::CompanionSiteUrl(tip.product);
        }
    }
    return {};
}

LRESULT CHomePage::OnInitDialog(WPARAM, LPARAM) {
    struct LabelSetUp {
        controls::CLabel& label;
        UINT id;
        COLORREF background;
        COLORREF text;
        bool bold;
    };
    const COLORREF black = RGB(0, 0, 0);
    const LabelSetUp labels[] = {
        {actionRequired_, IDC_HOME_ACTION_REQUIRED, kPageBackground, kRed, true},
        {descriptionHeading_, IDC_HOME_DESCRIPTION_HEADING, kBlue, RGB(255, 255, 255), true},
        {statusHeading_, IDC_HOME_STATUS_HEADING, kBlue, RGB(255, 255, 255), true},
        {totalCaption_, IDC_HOME_TOTAL_CAPTION, kPageBackground, black, false},
        {removedCaption_, IDC_HOME_REMOVED_CAPTION, kPageBackground, black, false},
        {foundCaption_, IDC_HOME_FOUND_CAPTION, kLightGreen, black, false},
        {total_, IDC_HOME_TOTAL, kPageBackground, black, true},
        {removed_, IDC_HOME_REMOVED, kPageBackground, kRed, true},
        {found_, IDC_HOME_FOUND, kLightGreen, kRed, true},
        {improve_, IDC_HOME_IMPROVE, kPageBackground, black, false},
        {tipHeading_, IDC_HOME_TIP_HEADING, kNearWhite, kBlue, true},
        {tip_, IDC_HOME_TIP, kNearWhite, black, false},
    };
    for (const LabelSetUp& setUp : labels) {
        setUp.label.SubclassDlgItem(setUp.id, hwnd());
        setUp.label.SetBkColor(setUp.background).SetTextColor(setUp.text).SetFontBold(setUp.bold);
    }
    fix_.SubclassDlgItem(IDC_HOME_FIX, hwnd());
    fix_.SetBitmaps(art::kFixNow);
    tipButton_.SubclassDlgItem(IDC_HOME_TIP_BUTTON, hwnd());
    tipButton_.SetBitmaps(art::kLearnMore);
    viewHistory_.SubclassDlgItem(IDC_HOME_VIEW_HISTORY, hwnd());
    viewHistory_.SetFont("Arial", 16, true);
    viewHistory_.SetColors(kBlue, kBlue, kPageBackground);

    tipText_ = ShownTip(TipText(ChooseMaintenanceTip(std::time(nullptr))));
    tip_.SetText(tipText_);
    tipHeading_.SetText(kTipHeading);
    Layout();
    tasksChanged_.emplace(
        [window = hwnd()] { ::PostMessage(window, platform::MSG_ENTRIES_CHANGED, 0, 0); });
    return TRUE;
}

// Pixel places over the painted rectangles: the table rows, the fix button kept centred, the
// tip in the band at the bottom.
void CHomePage::Layout() const {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    const int captionX = 60, valueX = 460, valueWidth = w - 42 - valueX - 8;
    Place(Item(IDC_HOME_ACTION_REQUIRED), 47, 14, 200, 18);
    Place(Item(IDC_HOME_DESCRIPTION_HEADING), captionX, 47, 300, 18);
    Place(Item(IDC_HOME_STATUS_HEADING), valueX, 47, valueWidth, 18);
    Place(Item(IDC_HOME_TOTAL_CAPTION), captionX, 84, 370, 18);
    Place(Item(IDC_HOME_TOTAL), valueX, 84, valueWidth, 18);
    Place(Item(IDC_HOME_REMOVED_CAPTION), captionX, 116, 370, 18);
    Place(Item(IDC_HOME_REMOVED), valueX, 116, valueWidth, 18);
    Place(Item(IDC_HOME_FOUND_CAPTION), captionX, 147, 370, 18);
    Place(Item(IDC_HOME_FOUND), valueX, 147, valueWidth, 18);
    Place(Item(IDC_HOME_IMPROVE), 47, 215, w - 89, 18);
    Place(Item(IDC_HOME_FIX), (client.left + client.right) / 2 - 81, 252, 191, 38);
    // The link ends with the heading band, as wide as its text (bold, larger than the page's).
    const int linkWidth = static_cast<int>(viewHistory_.ContentSize().cx) + kLinkSlack;
    Place(Item(IDC_HOME_VIEW_HISTORY), w - 42 - linkWidth, 12, linkWidth, 20);
    Place(Item(IDC_HOME_TIP_HEADING), 15, h - 46, 400, 16);
    Place(Item(IDC_HOME_TIP), 15, h - 28, w - 170, 16);
    Place(Item(IDC_HOME_TIP_BUTTON), w - 140, h - 45, 120, 32);
}

LRESULT CHomePage::OnSize(WPARAM type, LPARAM) {
    if (type != SIZE_MINIMIZED) {
        Layout();
        ::InvalidateRect(hwnd(), nullptr, TRUE);
    }
    return 0;
}

LRESULT CHomePage::OnEraseBackground(WPARAM wParam, LPARAM) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const int w = client.right, h = client.bottom;
    Fill(dc, 0, 0, w, h, background());
    Fill(dc, 47, 38, w - 42, 73, kBlue);
    Fill(dc, 47, 138, w - 42, 173, kLightGreen);
    Fill(dc, 47, 110, w - 42, 111, kGrey);
    Fill(dc, 444, 38, 445, 175, kGrey);
    Fill(dc, 5, h - 50, w - 5, h - 7, kNearWhite);
    return TRUE;
}

LRESULT CHomePage::OnShowWindow(WPARAM shown, LPARAM) {
    if (shown) {
        RefreshStatus();
    }
    return 0;
}

// The count shown follows the entries as the page last heard of them, tasks included.
LRESULT CHomePage::OnEntriesChanged(WPARAM, LPARAM) {
    if (::IsWindowVisible(hwnd())) {
        RefreshStatus();
    }
    return 0;
}

int CHomePage::CountActiveEntries() const {
    if (views::CWndStartupsPage* startups = StartupsPage()) {
        return startups->LoadAndCountActive();
    }
    // Without the main window (the page on its own) the listing counts the same entries.
    return static_cast<int>(
        engine::ListStartupItems(engine::EntryFilter::Active, engine::TaskRead::Snapshot).size());
}

void CHomePage::RefreshStatus() {
    removed_.SetTextColor(kRed);
    found_.SetTextColor(kRed);
    total_.SetText(std::to_string(CountActiveEntries()));
    const HomeStatusTexts status = ReadHomeStatus();
    removed_.SetText(status.removed);
    found_.SetText(status.found);
}

void CHomePage::OnFixClicked() {
    const std::string found = found_.text();
    const std::string removed = removed_.text();
    controls::ShowPage(controls::kWindowsStartupsPage);
    if (engine::EqualsNoCase(found, "--") || !engine::EqualsNoCase(removed, "--")) {
        return;
    }
    if (views::CWndStartupsPage* startups = StartupsPage()) {
        startups->OpenAutomaticFix();
    }
}

void CHomePage::OnViewHistoryClicked() {
    if (controls::PageHost* host = controls::CurrentPageHost()) {
        host->SelectSettingsSubPage(controls::kHistorySubPage);
    }
    controls::ShowPage(controls::kTabSettingsPage);
}

void CHomePage::OnTipClicked() {
    const std::string address = TipAddress(tip_.text());
    if (!address.empty()) {
        platform::OpenWebPage(address);
    }
}

}  // namespace history
