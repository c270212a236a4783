#include "views/wnd_startups_page.h"

#include "cleanup/automatic_fix_opener.h"
#include "cleanup/scrap_scan.h"
#include "controls/singleton.h"
#include "controls/text_comparer.h"
#include "engine/listing.h"
#include "engine/product_name.h"
#include "engine/text.h"
#include "history/status_values.h"
#include "platform/app_messages.h"
#include "platform/message_box.h"
#include "res/art_ids.h"
#include "controls/page_host.h"

#include <cstdio>

namespace views {
namespace {

constexpr char kCountFormat[] = "%d programs running on startup!";
constexpr char kButtonsHint[] = "Click on any of the buttons shown below to Manage PC Startup:";
constexpr char kManualFixTip[] = "Choose the programs you want to\nEnable/Disable on startup.";
constexpr char kAutomaticFixTip[] =
    "One click to fix all needless startup\nprograms automatically, in less\nthan a second.";
constexpr char kAlreadyOptimized[] =
    "Your PC already Optimized. Click Manually Fix button to Manage Startup Programs.";
constexpr COLORREF kCountColour = RGB(255, 0, 0);
constexpr COLORREF kToolTipColour = RGB(250, 253, 215);
constexpr int kToolTipWidth = 200;
constexpr int kButtonWidth = 188;
constexpr int kButtonHeight = 36;
constexpr int kButtonsFromBottom = 60;
constexpr COLORREF kPageBackground = RGB(255, 255, 255);

}  // namespace

// ---- the list

void CListCtrlWinStrtup::SetUp() {
    InsertColumns({"Item", "Status", "Location", "Command", "Publisher"});
    SetPublisherColumn(kPublisherColumn);
    AddExtendedStyles(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    SetComparerForAllColumns(controls::Singleton<controls::TextComparerCI>::Instance());
    SetWidths();
}

void CListCtrlWinStrtup::SetWidths() const {
    const int w = ClientWidth();
    SetColumnWidths({w / 6, w / 10, w / 5, w / 3, w - w / 6 - w / 10 - w / 5 - w / 3});
}

int CListCtrlWinStrtup::AppendEntry(const engine::StartupItem& item) {
    return AppendRow(std::make_unique<engine::StartupItem>(item),
                     {item.name,
                      item.returned  ? kCameBackStatus
                      : item.enabled ? "Active"
                                     : "Disabled",
                      std::string(engine::TrimBlanksAndQuotes(item.location)),
                      std::string(engine::TrimBlanksAndQuotes(item.command)), std::string()});
}

COLORREF CListCtrlWinStrtup::RowTextColour(int, const engine::StartupItem* item) const {
    return item ? kRowTextColour : ::GetSysColor(COLOR_WINDOWTEXT);
}

// ---- the page

CWndStartupsPage::CWndStartupsPage() : DialogImpl(IDD_WND_STARTUPS, kPageBackground) {}

CWndStartupsPage::~CWndStartupsPage() = default;

const controls::MessageTable<CWndStartupsPage>& CWndStartupsPage::Messages() {
    using Self = CWndStartupsPage;
    static const controls::MessageTable<Self> table = {
        controls::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
        controls::OnMessage(WM_SHOWWINDOW, &Self::OnShowWindow),
        controls::OnMessage(WM_SIZE, &Self::OnSize),
        controls::OnMessage(platform::MSG_ENTRIES_CHANGED, &Self::OnEntriesChanged),
        controls::OnCommandCode(IDC_WND_AUTOMATIC_FIX, BN_CLICKED, &Self::OpenAutomaticFix),
        controls::OnCommandCode(IDC_WND_MANUAL_FIX, BN_CLICKED, &Self::OnManualFixClicked),
        controls::OnNotify(IDC_WND_LIST, NM_CLICK, &Self::OnListClick),
    };
    return table;
}

LRESULT CWndStartupsPage::OnInitDialog(WPARAM, LPARAM) {
    count_.SubclassDlgItem(IDC_WND_COUNT, hwnd());
    count_.SetBkColor(kPageBackground).SetTextColor(kCountColour).SetFontBold(true).SetFontSize(12);
    advice_.SubclassDlgItem(IDC_WND_ADVICE, hwnd());
    advice_.SetBkColor(kPageBackground);
    caption_.SubclassDlgItem(IDC_WND_CAPTION, hwnd());
    caption_.SetBkColor(kPageBackground);
    buttonsHint_.SubclassDlgItem(IDC_WND_BUTTONS_HINT, hwnd());
    buttonsHint_.SetWindowText(kButtonsHint);
    manualFix_.SubclassDlgItem(IDC_WND_MANUAL_FIX, hwnd());
    manualFix_.SetBitmaps(art::kManualFixIdle);
    automaticFix_.SubclassDlgItem(IDC_WND_AUTOMATIC_FIX, hwnd());
    automaticFix_.SetBitmaps(art::kAutomaticFixActive);
    CreateToolTips();

    list_.SubclassDlgItem(IDC_WND_LIST, hwnd());
    list_.SetUp();

    using namespace controls;
    Anchor(IDC_WND_LIST, kStretchWidth | kStretchHeight);
    Anchor(IDC_WND_BUTTONS_HINT, kMoveWithBottom);
    PlaceButtons();
    tasksChanged_.emplace(
        [window = hwnd()] { ::PostMessage(window, platform::MSG_ENTRIES_CHANGED, 0, 0); });
    return TRUE;
}

void CWndStartupsPage::CreateToolTips() {
    toolTip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                 ::GetModuleHandle(nullptr), nullptr);
    if (!toolTip_) {
        return;
    }
    ::SendMessage(toolTip_, TTM_SETTIPBKCOLOR, kToolTipColour, 0);
    ::SendMessage(toolTip_, TTM_SETMAXTIPWIDTH, 0, kToolTipWidth);
    for (const auto& [id, text] : {std::pair{IDC_WND_MANUAL_FIX, kManualFixTip},
                                   std::pair{IDC_WND_AUTOMATIC_FIX, kAutomaticFixTip}}) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(Item(static_cast<UINT>(id)));
        tool.lpszText = const_cast<char*>(text);
        ::SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

LRESULT CWndStartupsPage::OnShowWindow(WPARAM shown, LPARAM) {
    if (!shown) {
        return 0;
    }
    const size_t found = cleanup::ScanForScrapPrograms(engine::TaskRead::Snapshot);
    history::StoreFoundCount(static_cast<int>(found));
    SetButtonBitmaps(found);
    list_.SetWidths();
    if (!loaded_) {
        LoadAndCountActive();
    }
    if (list_.RowCount() > 0) {
        if (rememberedRow_ >= list_.RowCount()) {
            rememberedRow_ = 0;
        }
        ::SetFocus(list_.hwnd());
        list_.SelectRow(rememberedRow_);
    } else {
        advice_.SetText("");
        count_.SetText("");
    }
    return 0;
}

// The list shown now is listed again; a hidden one when it is next shown (the home page, when
// it is the one shown, counts through it and so lists it again).
LRESULT CWndStartupsPage::OnEntriesChanged(WPARAM, LPARAM) {
    if (loaded_ && ::IsWindowVisible(hwnd())) {
        LoadAndCountActive();
    } else {
        loaded_ = false;
    }
    return 0;
}

void CWndStartupsPage::SetButtonBitmaps(size_t scrapFound) {
    manualFix_.SetBitmaps(scrapFound == 0 ? art::kManualFixIdle : art::kManualFixActive);
    automaticFix_.SetBitmaps(scrapFound == 0 ? art::kAutomaticFixIdle : art::kAutomaticFixActive);
    manualFix_.Invalidate();
    automaticFix_.Invalidate();
}

LRESULT CWndStartupsPage::OnSize(WPARAM type, LPARAM) {
    if (type == SIZE_MINIMIZED) {
        return 0;
    }
    controlPos().MoveControls();
    if (list_.hwnd()) {
        list_.SetWidths();
    }
    PlaceButtons();
    return 0;
}

void CWndStartupsPage::PlaceButtons() const {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const double width = client.right - client.left;
    const int y = client.bottom - kButtonsFromBottom;
    ::MoveWindow(Item(IDC_WND_MANUAL_FIX), static_cast<int>(width / 3.5), y, kButtonWidth,
                 kButtonHeight, TRUE);
    ::MoveWindow(Item(IDC_WND_AUTOMATIC_FIX), static_cast<int>(width / 2.5 + 120), y, kButtonWidth,
                 kButtonHeight, TRUE);
}

int CWndStartupsPage::LoadAndCountActive() {
    activeCount_ = 0;
    list_.Refill([this] {
        engine::ListStartupItems(engine::EntryFilter::All, engine::TaskRead::Snapshot)
            .ForEach([this](const engine::StartupItem& item) {
                if (list_.AppendEntry(item) >= 0 && item.enabled) {
                    ++activeCount_;
                }
            });
    });
    char line[96];
    std::snprintf(line, sizeof line, kCountFormat, activeCount_);
    count_.SetText(line);
    loaded_ = true;
    return activeCount_;
}

int CWndStartupsPage::EnsureLoadedRowCount() {
    if (list_.RowCount() == 0) {
        LoadAndCountActive();
    }
    return list_.RowCount();
}

bool CWndStartupsPage::IsActive(const std::string& name) const {
    for (int row = 0; row < list_.RowCount(); ++row) {
        const engine::StartupItem* item = list_.ItemAt(row);
        if (item && item->enabled && engine::EqualsNoCase(item->name, name)) {
            return true;
        }
    }
    return false;
}

void CWndStartupsPage::OpenAutomaticFix() {
    if (cleanup::ScrapList().items.empty()) {
        platform::ShowMessageBox(hwnd(), kAlreadyOptimized, engine::ProductName,
                                 MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (cleanup::OpenAutomaticFix(hwnd()) == IDOK) {
        controls::ShowPage(controls::kHomePage);
        LoadAndCountActive();
    }
}

void CWndStartupsPage::OnManualFixClicked() { controls::ShowPage(controls::kManualFixPage); }

LRESULT CWndStartupsPage::OnListClick(NMHDR* header) {
    if (list_.IsClickOnRowText(*reinterpret_cast<const NMITEMACTIVATE*>(header))) {
        list_.Invalidate();
    }
    return 0;
}

}  // namespace views
