#include "history/history_details_dlg.h"

#include "controls/list_rows.h"
#include "engine/listing.h"
#include "engine/product_name.h"
#include "engine/text.h"
#include "history/fix_files.h"
#include "history/restore.h"
#include "platform/message_box.h"
#include "res/art_ids.h"
#include "controls/page_host.h"
#include "views/wnd_startups_page.h"

#include <commctrl.h>

#include <algorithm>

namespace history {

namespace {
constexpr UINT_PTR kLoadTimer = 100;
constexpr UINT kLoadDelayMs = 100;
constexpr COLORREF kGreen = RGB(0x35, 0x91, 0x35);
constexpr COLORREF kRed = RGB(255, 0, 0);

constexpr char kTitle[] = " - History Details ";
constexpr char kNoFixFile[] = "There are no items to show here";
constexpr char kCannotOpen[] = "File could not be opened %d\n";
constexpr char kManualHeading[] = "%1!d! Programs fixed Successfully";
constexpr char kAutomaticHeading[] = "%1!d! Scrap Programs fixed Successfully";
constexpr char kKeptOffHeading[] = "%1!d! Programs switched off again";
constexpr char kRestoredOutOf[] = "%1!d! Program(s) are already Restored out of %2!d! Program(s)";
constexpr char kNoItems[] = "No Items found";
constexpr char kAlreadyRestored[] = "'%1' is already Resotred!";
constexpr char kSelectOne[] = "Please select an Item to restore as startup";
constexpr char kRestored[] = "%1!d! Unwanted programs added to PC startup.";
constexpr char kNothingLeft[] = "There are no items to show";

void Tell(HWND owner, const std::string& text, UINT icon) {
    platform::ShowMessageBox(owner, text, engine::ProductName, icon);
}

std::string ReplaceFirst(std::string text, const std::string& what, const std::string& with) {
    const size_t at = text.find(what);
    if (at != std::string::npos) {
        text.replace(at, what.size(), with);
    }
    return text;
}

// "%1!d! ... %2!d!" with two numbers.
std::string InsertTwoNumbers(const std::string& pattern, long long first, long long second) {
    return InsertNumber(ReplaceFirst(InsertNumber(pattern, first), "%2!d!", "%1!d!"), second);
}
}  // namespace

SelectedFix& SelectedHistoryFix() {
    static SelectedFix selected;
    return selected;
}

void CListCtrlHisDetails::DeleteAllRows() {
    ListView_DeleteAllItems(hwnd());
    entries_.clear();
}

void CListCtrlHisDetails::AddEntry(engine::StartupItem entry) {
    entries_.push_back(std::make_unique<engine::StartupItem>(std::move(entry)));
    const engine::StartupItem& added = *entries_.back();
    controls::AppendRow(hwnd(), {added.name, added.command}, reinterpret_cast<LPARAM>(&added));
}

engine::StartupItem* CListCtrlHisDetails::EntryAt(int row) const {
    return reinterpret_cast<engine::StartupItem*>(controls::RowData(hwnd(), row));
}

int CListCtrlHisDetails::RowCount() const { return ListView_GetItemCount(hwnd()); }

CHistoryDetailsDlg::CHistoryDetailsDlg(std::string fixFilePath)
    : DialogImpl(IDD_HISTORY_DETAILS, RGB(0xF0, 0xF0, 0xF0)),
      fixFilePath_(std::move(fixFilePath)) {}

const controls::MessageTable<CHistoryDetailsDlg>& CHistoryDetailsDlg::Messages() {
    static const controls::MessageTable<CHistoryDetailsDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CHistoryDetailsDlg::OnInitDialog),
        controls::OnTimer(kLoadTimer, &CHistoryDetailsDlg::OnLoadTimer),
        controls::OnNotify(IDC_DETAILS_LIST, LVN_ITEMCHANGED, &CHistoryDetailsDlg::OnRowChanged),
        controls::OnCommand(IDOK, &CHistoryDetailsDlg::OnRestore),
        controls::OnCommand(IDCANCEL, &CHistoryDetailsDlg::OnClose),
    };
    return table;
}

LRESULT CHistoryDetailsDlg::OnInitDialog(WPARAM, LPARAM) {
    // The note stays a plain static: it wraps over two lines, which a label does not.
    heading_.SubclassDlgItem(IDC_DETAILS_HEADING, hwnd());
    heading_.SetBkColor(background()).SetFontBold(true).SetFontSize(12);
    restored_.SubclassDlgItem(IDC_DETAILS_RESTORED, hwnd());
    restored_.SetBkColor(background()).SetTextColor(kRed);

    list_.SubclassDlgItem(IDC_DETAILS_LIST, hwnd());
    const int width = controls::ClientWidth(list_.hwnd());
    controls::AddColumn(list_.hwnd(), 0, "File Name", 150);
    // A list narrower than the first column still gets a visible second one.
    controls::AddColumn(list_.hwnd(), 1, "Location", std::max(width - 150, 100));
    ListView_SetExtendedListViewStyle(list_.hwnd(),
                                      LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    ::SetWindowTextA(hwnd(), (std::string(engine::ProductName) + kTitle).c_str());

    restore_.SubclassDlgItem(IDOK, hwnd());
    restore_.SetBitmaps(art::kRestore);
    close_.SubclassDlgItem(IDCANCEL, hwnd());
    close_.SetBitmaps(art::kClose);
    SetTimer(kLoadTimer, kLoadDelayMs);
    return TRUE;
}

void CHistoryDetailsDlg::OnLoadTimer() {
    KillTimer(kLoadTimer);
    Load();
}

void CHistoryDetailsDlg::Load() {
    list_.DeleteAllRows();
    // A path that names no file of the data folder is not even looked at (ReadFixFile refuses it).
    if (IsFixFilePath(fixFilePath_) && !FileExists(fixFilePath_)) {
        Tell(hwnd(), kNoFixFile, MB_OK);
        return;
    }
    std::vector<engine::StartupItem> entries;
    DWORD error = 0;
    if (ReadFixFile(fixFilePath_, entries, &error) == ReadOutcome::Failed) {
        Tell(hwnd(), ReplaceFirst(kCannotOpen, "%d", std::to_string(error)), MB_OK);
        return;
    }
    for (engine::StartupItem& entry : entries) {
        list_.AddEntry(std::move(entry));
    }
    const int rows = list_.RowCount();
    if (rows == 0) {
        heading_.SetTextColor(kRed).SetText(kNoItems);
        return;
    }
    const SelectedFix& fix = SelectedHistoryFix();
    const char* pattern = fix.action == kManualFixAction ? kManualHeading
                          : fix.action == kKeptOffAction ? kKeptOffHeading
                                                         : kAutomaticHeading;
    heading_.SetTextColor(kGreen).SetText(InsertNumber(pattern, fix.fixedCount));
    restored_.SetText(InsertTwoNumbers(kRestoredOutOf, fix.fixedCount - rows, fix.fixedCount));
}

bool CHistoryDetailsDlg::IsActiveNow(const std::string& name) {
    controls::PageHost* host = controls::CurrentPageHost();
    if (auto* page = host ? dynamic_cast<views::CWndStartupsPage*>(
                                host->Page(controls::kWindowsStartupsPage))
                          : nullptr) {
        // Loads the page's list first when it is empty; an empty list knows of nothing.
        return page->EnsureLoadedRowCount() > 0 && page->IsActive(name);
    }
    const engine::StartupItemArray active =
        engine::ListStartupItems(engine::EntryFilter::Active, engine::TaskRead::Snapshot);
    for (size_t i = 0; i < active.size(); ++i) {
        if (active[i].enabled && engine::EqualsNoCase(active[i].name, name)) {
            return true;
        }
    }
    return false;
}

LRESULT CHistoryDetailsDlg::OnRowChanged(NMHDR* header) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (!controls::IsCheckMarkChange(*change) ||
        !controls::IsRowChecked(list_.hwnd(), change->iItem)) {
        return 0;
    }
    const engine::StartupItem* entry = list_.EntryAt(change->iItem);
    if (entry && IsActiveNow(entry->name)) {
        ListView_SetCheckState(list_.hwnd(), change->iItem, FALSE);
        Tell(hwnd(), ReplaceFirst(kAlreadyRestored, "%1", entry->name), MB_ICONINFORMATION);
    }
    return 0;
}

void CHistoryDetailsDlg::OnRestore() {
    std::vector<engine::StartupItem> entries;
    std::vector<bool> chosen;
    const int rows = list_.RowCount();
    for (int row = 0; row < rows; ++row) {
        entries.push_back(*list_.EntryAt(row));
        chosen.push_back(controls::IsRowChecked(list_.hwnd(), row));
    }
    if (controls::CheckedRowCount(list_.hwnd()) == 0) {
        Tell(hwnd(), kSelectOne, MB_ICONINFORMATION);
        return;
    }
    // Only what came back on counts; what could not be switched on stays in the fix file.
    const RestoreOutcome outcome = RestoreFixEntries(fixFilePath_, entries, chosen);
    Tell(hwnd(), InsertNumber(kRestored, outcome.restored - outcome.failed), MB_ICONINFORMATION);
    if (outcome.fixFileDeleted) {
        list_.DeleteAllRows();
        Tell(hwnd(), kNothingLeft, MB_ICONINFORMATION);
        EndDialog(IDOK);
        return;
    }
    Load();
}

void CHistoryDetailsDlg::OnClose() { EndDialog(IDCANCEL); }

}  // namespace history
