#include "views/manul_startups_page.h"

#include "cleanup/automatic_fix_opener.h"
#include "controls/singleton.h"
#include "controls/text_comparer.h"
#include "engine/listing.h"
#include "engine/product_name.h"
#include "engine/text.h"
#include "platform/app_messages.h"
#include "platform/message_box.h"
#include "publisher/machine_lookups.h"
#include "publisher/publisher.h"
#include "res/art_ids.h"
#include "controls/page_host.h"

#include <shellapi.h>

#include <algorithm>

namespace views {
namespace {

constexpr char kActiveHint[] = "Uncheck the programs you want to disable from startup.";
constexpr char kDisabledHint[] = "Click on the checkbox to activate any program at startup.";
constexpr char kSavedMessage[] = "Setting has been saved sucessfully.";
constexpr char kCheckingSignature[] = "Checking the signature...";
constexpr const char* kFilterNames[] = {"Active Programs", "Disabled Programs", "All Programs"};
constexpr char kNotSureMarkup[] =
    "<font color=\"#FF0000\"><b>Not Sure?? </b></font> <font color=\"000000\">Which Program's "
    "to Check/Uncheck from list</font>";
constexpr COLORREF kTitleColour = RGB(255, 0, 0);
constexpr COLORREF kLinkColour = RGB(32, 77, 165);
// The page's background.
constexpr COLORREF kPageBackground = RGB(255, 255, 255);

// The shell's large icon of a file; for a name that need not exist, the icon of its type.
HICON LargeShellIcon(const std::string& path, bool byTypeOnly) {
    SHFILEINFOA info{};
    UINT flags = SHGFI_ICON | SHGFI_LARGEICON;
    if (byTypeOnly) {
        flags |= SHGFI_USEFILEATTRIBUTES;
    }
    if (!::SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags)) {
        return nullptr;
    }
    return info.hIcon;
}

}  // namespace

// ---- the list

void CListCtrlStartups::SetUp(std::function<void()> arrived) {
    InsertColumns({"Item", "Command", "Location", "Publisher"});
    SetPublisherColumn(kPublisherColumn, std::move(arrived));
    UseCheckBoxes();
    AddExtendedStyles(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    SetComparerForAllColumns(controls::Singleton<controls::TextComparerCI>::Instance());
    SetCreationWidths();
}

void CListCtrlStartups::SetCreationWidths() const {
    const int w = ClientWidth();
    SetColumnWidths({w / 6, w * 2 / 5, w / 5, w - w / 6 - w * 2 / 5 - w / 5});
}

void CListCtrlStartups::SetShownWidths() const {
    const int w = ClientWidth();
    SetColumnWidths({w / 6, w * 2 / 5, w / 5, w - w / 6 - w * 2 / 5 - w / 5 - 17});
}

int CListCtrlStartups::AppendEntry(const engine::StartupItem& item) {
    return AppendRow(std::make_unique<engine::StartupItem>(item),
                     {item.name, std::string(engine::TrimBlanksAndQuotes(item.command)),
                      (item.returned ? kCameBackMark : "") +
                          std::string(engine::TrimBlanksAndQuotes(item.location)),
                      std::string()},
                     item.enabled);
}

COLORREF CListCtrlStartups::RowTextColour(int row, const engine::StartupItem* item) const {
    if (item && IsChecked(row) != item->enabled) {
        return kUnsavedTextColour;
    }
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

// ---- the page

CManulStartupsPage::CManulStartupsPage() : DialogImpl(IDD_MANUL_STARTUPS, kPageBackground) {}

const controls::MessageTable<CManulStartupsPage>& CManulStartupsPage::Messages() {
    using Self = CManulStartupsPage;
    static const controls::MessageTable<Self> table = {
        controls::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
        controls::OnMessage(WM_SHOWWINDOW, &Self::OnShowWindow),
        controls::OnMessage(WM_SIZE, &Self::OnSize),
        controls::OnCommandCode(IDC_MANUL_SAVE, BN_CLICKED, &Self::OnSaveClicked),
        controls::OnCommandCode(IDC_MANUL_QUIET_SAVE, BN_CLICKED, &Self::OnQuietSaveClicked),
        controls::OnCommandCode(IDC_MANUL_CANCEL, BN_CLICKED, &Self::OnCancelClicked),
        controls::OnCommandCode(IDC_MANUL_AUTOMATIC_FIX, BN_CLICKED, &Self::OnAutomaticFixClicked),
        controls::OnCommandCode(IDC_MANUL_FILTER, CBN_SELCHANGE, &Self::OnFilterChanged),
        controls::OnNotify(IDC_MANUL_LIST, LVN_ITEMCHANGED, &Self::OnItemChanged),
        controls::OnNotify(IDC_MANUL_LIST, NM_CLICK, &Self::OnListClick),
        controls::OnMessage(platform::MSG_ENTRIES_CHANGED, &Self::OnEntriesChanged),
    };
    return table;
}

LRESULT CManulStartupsPage::OnInitDialog(WPARAM, LPARAM) {
    title_.SubclassDlgItem(IDC_MANUL_TITLE, hwnd());
    title_.SetBkColor(kPageBackground).SetTextColor(kTitleColour).SetFontBold(true).SetFontSize(12);
    hint_.SubclassDlgItem(IDC_MANUL_HINT, hwnd());
    hint_.SetBkColor(kPageBackground);
    programName_.SubclassDlgItem(IDC_MANUL_PROGRAM_NAME, hwnd());
    programName_.SetBkColor(kPageBackground).SetFontBold(true);
    company_.SubclassDlgItem(IDC_MANUL_COMPANY, hwnd());
    company_.SetBkColor(kPageBackground);
    description_.SubclassDlgItem(IDC_MANUL_DESCRIPTION, hwnd());
    description_.SetBkColor(kPageBackground);
    signature_.SubclassDlgItem(IDC_MANUL_SIGNATURE, hwnd());
    signature_.SetBkColor(kPageBackground);
    notSure_.SubclassDlgItem(IDC_MANUL_NOT_SURE, hwnd());
    notSure_.SetWindowText(kNotSureMarkup);
    automaticFix_.SubclassDlgItem(IDC_MANUL_AUTOMATIC_FIX, hwnd());
    automaticFix_.SetFont("Arial", 14, false);
    automaticFix_.SetColors(kLinkColour, kLinkColour, kPageBackground);
    save_.SubclassDlgItem(IDC_MANUL_SAVE, hwnd());
    save_.SetBitmaps(art::kSave);
    cancel_.SubclassDlgItem(IDC_MANUL_CANCEL, hwnd());
    cancel_.SetBitmaps(art::kCancel);
    quietSave_.SubclassDlgItem(IDC_MANUL_QUIET_SAVE, hwnd());
    quietSave_.SetBitmaps(art::kBack);
    for (const controls::CXPButton* button : {&save_, &cancel_, &quietSave_}) {
        button->FitToBitmap();
    }

    HWND filter = Item(IDC_MANUL_FILTER);
    for (const char* name : kFilterNames) {
        ::SendMessageA(filter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    ::SendMessage(filter, CB_SETCURSEL, kActivePrograms, 0);

    list_.SubclassDlgItem(IDC_MANUL_LIST, hwnd());
    list_.SetUp([this] { OnPublishersArrived(); });

    using namespace controls;
    Anchor(IDC_MANUL_FILTER, kMoveWithRight);
    Anchor(IDC_MANUL_LIST, kStretchWidth | kStretchHeight);
    for (UINT id :
         {IDC_MANUL_NOT_SURE, IDC_MANUL_AUTOMATIC_FIX, IDC_MANUL_PROGRAM_ICON,
          IDC_MANUL_PROGRAM_NAME, IDC_MANUL_COMPANY, IDC_MANUL_DESCRIPTION, IDC_MANUL_SIGNATURE}) {
        Anchor(id, kMoveWithBottom);
    }
    for (UINT id : {IDC_MANUL_SAVE, IDC_MANUL_CANCEL, IDC_MANUL_QUIET_SAVE}) {
        Anchor(id, kMoveWithBottom | kMoveWithRight);
    }
    tasksChanged_.emplace(
        [window = hwnd()] { ::PostMessage(window, platform::MSG_ENTRIES_CHANGED, 0, 0); });
    return TRUE;
}

LRESULT CManulStartupsPage::OnShowWindow(WPARAM shown, LPARAM) {
    if (!shown) {
        return 0;
    }
    list_.SetShownWidths();
    Reload();
    if (list_.RowCount() > 0) {
        if (detailsRow_ >= list_.RowCount()) {
            detailsRow_ = 0;
        }
        ::SetFocus(list_.hwnd());
        list_.SelectRow(detailsRow_);
        ShowDetails(detailsRow_);
    } else {
        for (controls::CLabel* label : {&programName_, &company_, &description_, &signature_}) {
            label->SetText("");
        }
    }
    return 0;
}

// A hidden page lists again when it is shown. A shown one lists again unless the user has
// ticked or unticked rows not saved yet: those are not dropped for an entry that changed.
LRESULT CManulStartupsPage::OnEntriesChanged(WPARAM, LPARAM) {
    if (!::IsWindowVisible(hwnd())) {
        return 0;
    }
    for (int row = 0; row < list_.RowCount(); ++row) {
        const engine::StartupItem* item = list_.ItemAt(row);
        if (item && list_.IsChecked(row) != item->enabled) {
            return 0;
        }
    }
    Reload();
    return 0;
}

LRESULT CManulStartupsPage::OnSize(WPARAM type, LPARAM) {
    if (type == SIZE_MINIMIZED) {
        return 0;
    }
    controlPos().MoveControls();
    if (list_.hwnd()) {
        list_.SetCreationWidths();
    }
    return 0;
}

CManulStartupsPage::Filter CManulStartupsPage::CurrentFilter() const {
    const auto index = ::SendMessage(Item(IDC_MANUL_FILTER), CB_GETCURSEL, 0, 0);
    return index == kDisabledPrograms || index == kAllPrograms ? static_cast<Filter>(index)
                                                               : kActivePrograms;
}

void CManulStartupsPage::Reload() {
    // Emptying the list changes its selection: that is not the user choosing a row.
    reloading_ = true;
    activeRows_ = 0;
    const engine::EntryFilter filters[] = {engine::EntryFilter::Active,
                                           engine::EntryFilter::Disabled, engine::EntryFilter::All};
    list_.Refill([&] {
        engine::ListStartupItems(filters[CurrentFilter()], engine::TaskRead::Snapshot)
            .ForEach([this](const engine::StartupItem& item) {
                if (list_.AppendEntry(item) >= 0 && item.enabled) {
                    ++activeRows_;
                }
            });
    });
    ListView_SetSelectionMark(list_.hwnd(), 0);
    reloading_ = false;
}

history::ManualSaveOutcome CManulStartupsPage::Save() {
    std::vector<history::ManualChange> changes;
    for (int row = 0; row < list_.RowCount(); ++row) {
        engine::StartupItem* item = list_.ItemAt(row);
        const bool checked = list_.IsChecked(row);
        if (item && checked != item->enabled) {
            changes.push_back({item, checked});
        }
    }
    if (changes.empty()) {
        return {};
    }
    // Every save that changed a row is followed by a reload, which shows what each switch reached.
    return history::SaveManualChanges(changes, engine::ReportStyle::Page(hwnd()));
}

void CManulStartupsPage::OnSaveClicked() {
    const history::ManualSaveOutcome outcome = Save();
    Reload();
    if (outcome.changed == 0) {
        return;
    }
    // Each failed switch has shown its own message; success is only claimed for a real change.
    if (outcome.switchedOff + outcome.switchedOn > 0) {
        platform::ShowMessageBox(hwnd(), kSavedMessage, engine::ProductName,
                                 MB_OK | MB_ICONINFORMATION);
    }
    controls::ShowPage(controls::kHomePage);
}

void CManulStartupsPage::OnQuietSaveClicked() {
    if (Save().changed > 0) {
        Reload();
    }
    controls::ShowPage(controls::kHomePage);
}

void CManulStartupsPage::OnCancelClicked() { controls::ShowPage(controls::kWindowsStartupsPage); }

void CManulStartupsPage::OnAutomaticFixClicked() {
    if (cleanup::OpenAutomaticFix(hwnd()) == IDOK) {
        controls::ShowPage(controls::kHomePage);
        Reload();
    }
}

void CManulStartupsPage::OnFilterChanged() {
    hint_.SetText(CurrentFilter() == kDisabledPrograms ? kDisabledHint : kActiveHint);
    Reload();
}

LRESULT CManulStartupsPage::OnItemChanged(NMHDR* header) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (!reloading_ && change->iItem >= 0 && change->iItem < list_.RowCount() &&
        (change->uChanged & LVIF_STATE) && change->uNewState != change->uOldState) {
        ShowDetails(change->iItem);
    }
    return 0;
}

LRESULT CManulStartupsPage::OnListClick(NMHDR* header) {
    const auto& click = *reinterpret_cast<const NMITEMACTIVATE*>(header);
    if (list_.IsClickOnRowText(click)) {
        list_.Invalidate();
        ShowDetails(click.iItem);
    }
    return 0;
}

void CManulStartupsPage::ShowDetails(int row) {
    HWND icon = Item(IDC_MANUL_PROGRAM_ICON);
    ::ShowWindow(icon, SW_SHOW);
    programName_.SetText(list_.CellText(row, 0));
    const engine::StartupItem* item = list_.ItemAt(row);
    const publisher::ProgramFile program =
        publisher::ProgramOfStartupCommand(item ? item->command : std::string());
    HICON shown =
        program.exists ? LargeShellIcon(publisher::NativePath(program.path), false) : nullptr;
    if (!shown) {
        shown = LargeShellIcon("null.exe", true);
    }
    ::SendMessage(icon, STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
    programIcon_.reset(shown);
    detailsRow_ = row;
    detailsItem_ = item;
    ShowPublisherDetails(row);
}

void CManulStartupsPage::ShowPublisherDetails(int row) {
    const publisher::Publisher* found = list_.PublisherAt(row);
    if (!found) {
        company_.SetText("--");
        description_.SetText("");
        signature_.SetText(kCheckingSignature);
        return;
    }
    const std::string shown = publisher::PublisherText(*found);
    company_.SetText(shown.empty() ? "--" : shown);
    description_.SetText(found->description);
    signature_.SetText(publisher::SignatureDescription(found->signature));
}

void CManulStartupsPage::OnPublishersArrived() {
    // Only while the details still show the record they were shown for.
    if (detailsItem_ && list_.ItemAt(detailsRow_) == detailsItem_) {
        ShowPublisherDetails(detailsRow_);
    }
}

}  // namespace views
