#include "history/history_page.h"

#include "controls/list_rows.h"
#include "controls/singleton.h"
#include "engine/product_name.h"
#include "history/fix_files.h"
#include "history/history_details_dlg.h"
#include "history/time_text.h"
#include "platform/message_box.h"
#include "res/art_ids.h"
#include "controls/page_host.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

namespace history {

namespace {
constexpr char kSelectOne[] = "Please Select an Item to show its details";
}  // namespace

int LeadingNumber(const std::string& text) {
    long long number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        number = std::min<long long>(number * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(number);
}

int FixTimeComparer::Compare(const controls::SortContext& first,
                             const controls::SortContext& second) const {
    const auto* a = reinterpret_cast<const HistoryEntry*>(first.data);
    const auto* b = reinterpret_cast<const HistoryEntry*>(second.data);
    if (!a || !b || a->fixTime == b->fixTime) {
        return 0;
    }
    return a->fixTime < b->fixTime ? -1 : 1;
}

void CListCtrlHistory::DeleteAllRows() {
    ListView_DeleteAllItems(hwnd());
    entries_.clear();
}

void CListCtrlHistory::AddEntry(HistoryEntry entry) {
    entries_.push_back(std::make_unique<HistoryEntry>(std::move(entry)));
    const HistoryEntry& added = *entries_.back();
    controls::AppendRow(hwnd(), {added.remarks, DisplayTimeText(added.fixTime), added.action},
                        reinterpret_cast<LPARAM>(&added));
}

const HistoryEntry* CListCtrlHistory::EntryAt(int row) const {
    return reinterpret_cast<const HistoryEntry*>(controls::RowData(hwnd(), row));
}

CSetHistory::CSetHistory() : DialogImpl(IDD_HISTORY_PAGE, RGB(255, 255, 255)) {}

const controls::MessageTable<CSetHistory>& CSetHistory::Messages() {
    static const controls::MessageTable<CSetHistory> table = {
        controls::OnMessage(WM_INITDIALOG, &CSetHistory::OnInitDialog),
        controls::OnMessage(WM_SHOWWINDOW, &CSetHistory::OnShowWindow),
        controls::OnMessage(WM_SIZE, &CSetHistory::OnSize),
        controls::OnCommand(kDetailsButton, &CSetHistory::OnDetails),
        // The hidden cancel button, and closing, leave the page as it is.
        controls::OnCommand(IDCANCEL, &CSetHistory::OnNothing),
    };
    return table;
}

LRESULT CSetHistory::OnInitDialog(WPARAM, LPARAM) {
    list_.SubclassDlgItem(IDC_HISTORY_LIST, hwnd());
    controls::AddColumn(list_.hwnd(), CListCtrlHistory::kRemarksColumn, "Remarks", 0);
    controls::AddColumn(list_.hwnd(), CListCtrlHistory::kScanTimeColumn, "Scan Time", 0);
    controls::AddColumn(list_.hwnd(), CListCtrlHistory::kActionColumn, "Action Performed", 0);
    SetColumnWidths(0);
    ListView_SetExtendedListViewStyle(list_.hwnd(),
                                      LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    list_.SetComparerForAllColumns(controls::Singleton<controls::TextComparerCI>::Instance());
    list_.SetComparer(CListCtrlHistory::kScanTimeColumn, &byFixTime_);
    list_.SortByColumn(CListCtrlHistory::kScanTimeColumn, controls::kSortAscending);

    details_.SubclassDlgItem(kDetailsButton, hwnd());
    details_.SetBitmaps(art::kDetails);
    Anchor(IDC_HISTORY_LIST, controls::kStretchWidth | controls::kStretchHeight);
    Anchor(kDetailsButton, controls::kMoveWithRight | controls::kMoveWithBottom);
    ::SetWindowTextA(hwnd(), engine::ProductName);
    return TRUE;
}

LRESULT CSetHistory::OnShowWindow(WPARAM shown, LPARAM) {
    if (shown) {
        SetColumnWidths(1);
        Reload();
    }
    return 0;
}

LRESULT CSetHistory::OnSize(WPARAM type, LPARAM) {
    if (type != SIZE_MINIMIZED && list_.hwnd()) {
        controlPos().MoveControls();
        SetColumnWidths(0);
    }
    return 0;
}

void CSetHistory::SetColumnWidths(int trim) const {
    const int width = controls::ClientWidth(list_.hwnd());
    ListView_SetColumnWidth(list_.hwnd(), CListCtrlHistory::kRemarksColumn, width / 2);
    ListView_SetColumnWidth(list_.hwnd(), CListCtrlHistory::kScanTimeColumn, width / 4);
    ListView_SetColumnWidth(list_.hwnd(), CListCtrlHistory::kActionColumn,
                            width - width / 2 - width / 4 - trim);
}

void CSetHistory::Reload() {
    list_.DeleteAllRows();
    for (HistoryRecord& record : ListedFixes()) {
        list_.AddEntry({std::move(record.remarks), record.fixTime, std::move(record.action),
                        std::move(record.fixFilePath)});
    }
    list_.SortByColumn(CListCtrlHistory::kScanTimeColumn, controls::kSortAscending);
}

void CSetHistory::OnDetails() {
    const int row = ListView_GetNextItem(list_.hwnd(), -1, LVNI_SELECTED);
    const HistoryEntry* entry = row >= 0 ? list_.EntryAt(row) : nullptr;
    if (!entry) {
        platform::ShowMessageBox(hwnd(), kSelectOne, engine::ProductName, MB_ICONINFORMATION);
        return;
    }
    SelectedHistoryFix() = {entry->action, LeadingNumber(entry->remarks)};
    CHistoryDetailsDlg details(entry->fixFilePath);
    if (controls::RunInVeil(&details, hwnd()) == IDOK) {
        Reload();
    }
}

}  // namespace history
