#include "cleanup/automatic_fix_dlg.h"

#include "cleanup/ignore_list.h"
#include "cleanup/process_dlg.h"
#include "cleanup/scrap_scan.h"
#include "controls/html/link_open.h"
#include "controls/list_rows.h"
#include "controls/singleton.h"
#include "controls/text_comparer.h"
#include "engine/product_name.h"
#include "engine/text.h"
#include "history/fix_files.h"
#include "history/status_values.h"
#include "platform/message_box.h"
#include "res/art_ids.h"
#include "controls/page_host.h"
#include "update/site_config.h"

#include <commctrl.h>

namespace cleanup {

namespace {
constexpr UINT_PTR kScanTimer = 100;
constexpr UINT kScanDelayMs = 100;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

constexpr char kFoundHeading[] = "%1!d! scrap program(s) found on startup!";
constexpr char kAlreadyOptimized[] =
    "Your PC already Optimized. Click Manually Fix button to Manage Startup Programs.";
constexpr char kAskIgnore[] = "Would you like to Add this Program in Ignore List?";
constexpr char kNothingLeft[] = "No scrap program found.                                         ";
constexpr char kSelectOne[] = "Please select an item to disable from your pc startup";
constexpr char kDisabled[] = "%1!d! scrap program(s) disabled successfullY.";
constexpr char kLearnMore[] = "Still Unsure about Fixing Scrap Programs? Click yes to Learn more. ";
constexpr char kIgnoreFailed[] = "The program could not be added to the ignore list.";

int Ask(HWND owner, const std::string& text, UINT type) {
    return platform::ShowMessageBox(owner, text, engine::ProductName, type);
}
}  // namespace

void CListCtrlOptStartups::AddEntry(engine::StartupItem& entry) const {
    const int row = controls::AppendRow(
        hwnd(), {entry.name, std::string(engine::TrimBlanksAndQuotes(entry.command))},
        reinterpret_cast<LPARAM>(&entry));
    if (row >= 0) {
        ListView_SetCheckState(hwnd(), row, TRUE);
    }
}

engine::StartupItem* CListCtrlOptStartups::EntryAt(int row) const {
    return reinterpret_cast<engine::StartupItem*>(controls::RowData(hwnd(), row));
}

CMngAutoStartupsDlg::CMngAutoStartupsDlg() : DialogImpl(IDD_AUTOMATIC_FIX, RGB(255, 255, 255)) {}

const controls::MessageTable<CMngAutoStartupsDlg>& CMngAutoStartupsDlg::Messages() {
    static const controls::MessageTable<CMngAutoStartupsDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CMngAutoStartupsDlg::OnInitDialog),
        controls::OnTimer(kScanTimer, &CMngAutoStartupsDlg::OnScanTimer),
        controls::OnNotify(IDC_AUTOFIX_LIST, LVN_ITEMCHANGED, &CMngAutoStartupsDlg::OnRowChanged),
        controls::OnCommand(IDOK, &CMngAutoStartupsDlg::OnFix),
        controls::OnCommand(IDCANCEL, &CMngAutoStartupsDlg::OnCancel),
    };
    return table;
}

LRESULT CMngAutoStartupsDlg::OnInitDialog(WPARAM, LPARAM) {
    // The note stays a plain static: it wraps over two lines, which a label does not.
    heading_.SubclassDlgItem(IDC_AUTOFIX_HEADING, hwnd());
    heading_.SetBkColor(background()).SetFontBold(true).SetFontSize(12);
    hint_.SubclassDlgItem(IDC_AUTOFIX_HINT, hwnd());
    hint_.SetBkColor(background()).SetTextColor(RGB(0x20, 0x4D, 0xA5));

    list_.SubclassDlgItem(IDC_AUTOFIX_LIST, hwnd());
    ListView_SetExtendedListViewStyle(list_.hwnd(), LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                                        LVS_EX_FULLROWSELECT |
                                                        LVS_EX_ONECLICKACTIVATE);
    controls::AddColumn(list_.hwnd(), 0, "File Name", 150);
    controls::AddColumn(list_.hwnd(), 1, "Location", 399);
    list_.SetComparerForAllColumns(controls::Singleton<controls::TextComparerCI>::Instance());

    fixButton_.SubclassDlgItem(IDOK, hwnd());
    fixButton_.SetBitmaps(art::kFixSelected);
    ::EnableWindow(fixButton_.hwnd(), FALSE);  // until the scan has listed something

    animation_.SubclassDlgItem(IDC_AUTOFIX_ANIMATION, hwnd());
    animation_.SetBkColor(background());
    if (animation_.Load(art::kScanAnimation)) {
        ::ShowWindow(animation_.hwnd(), SW_SHOW);
        animation_.Draw();
    }
    SetTimer(kScanTimer, kScanDelayMs);
    return TRUE;
}

void CMngAutoStartupsDlg::OnScanTimer() {
    KillTimer(kScanTimer);
    scanDone_ = false;
    ::EnableWindow(fixButton_.hwnd(), FALSE);

    const int found = static_cast<int>(ScanForScrapPrograms(engine::TaskRead::Snapshot));
    heading_.SetTextColor(kBlack);
    ScrapProgramList& scrap = ScrapList();
    for (size_t i = 0; i < scrap.items.size(); ++i) {
        list_.AddEntry(scrap.items[i]);
    }
    history::StoreScanStatus(found);

    animation_.Stop();
    ::ShowWindow(animation_.hwnd(), SW_HIDE);
    SetHeadingCount(found);
    scanDone_ = true;

    if (found == 0) {
        Ask(hwnd(), kAlreadyOptimized, MB_ICONINFORMATION);
        EndDialog(IDCANCEL);
        return;
    }
    ::EnableWindow(fixButton_.hwnd(), TRUE);
    heading_.SetTextColor(kRed);
}

LRESULT CMngAutoStartupsDlg::OnRowChanged(NMHDR* header) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    // Only a change of the check mark, after the scan has filled the list; a sort that gives
    // rows stand-in item data changes no state.
    if (!scanDone_ || !controls::IsCheckMarkChange(*change) || change->uOldState <= 3 ||
        change->uNewState <= 3 || !list_.EntryAt(change->iItem)) {
        return 0;
    }
    const int row = change->iItem;
    if (!controls::IsRowChecked(list_.hwnd(), row)) {
        if (Ask(hwnd(), kAskIgnore, MB_YESNO | MB_ICONQUESTION) != IDYES ||
            !MoveToIgnoreList(row)) {
            ListView_SetCheckState(list_.hwnd(), row, TRUE);
        }
    }
    ShowListState();
    return 0;
}

bool CMngAutoStartupsDlg::MoveToIgnoreList(int row) {
    engine::StartupItem* entry = list_.EntryAt(row);
    if (AddToIgnoreList(*entry) != IgnoreResult::Done) {
        // Left in the list and in the run: dropping it would lose the user's choice silently.
        Ask(hwnd(), kIgnoreFailed, MB_ICONWARNING);
        return false;
    }
    // Passed over by the run, and counted in its "remaining".
    entry->enabled = false;
    ListView_DeleteItem(list_.hwnd(), row);
    const int rows = ListView_GetItemCount(list_.hwnd());
    if (row == rows && rows > 0) {
        ListView_SetItemState(list_.hwnd(), rows - 1, LVIS_SELECTED, LVIS_SELECTED);
    }
    return true;
}

void CMngAutoStartupsDlg::ShowListState() {
    const int rows = ListView_GetItemCount(list_.hwnd());
    if (rows == 0) {
        Ask(hwnd(), kNothingLeft, MB_ICONINFORMATION);
        ::EnableWindow(fixButton_.hwnd(), FALSE);
        heading_.SetTextColor(kBlack);
        SetHeadingCount(0);
        EndDialog(IDOK);
        return;
    }
    ::EnableWindow(fixButton_.hwnd(), TRUE);
    heading_.SetTextColor(kRed);
    SetHeadingCount(rows);
}

void CMngAutoStartupsDlg::SetHeadingCount(int count) {
    heading_.SetText(history::InsertNumber(kFoundHeading, count));
}

void CMngAutoStartupsDlg::OnFix() {
    if (!scanDone_ || !::IsWindowEnabled(fixButton_.hwnd())) {
        return;  // Enter while the scan runs
    }
    if (controls::CheckedRowCount(list_.hwnd()) == 0) {
        Ask(hwnd(), kSelectOne, MB_OK);
        return;
    }
    CDlgProcessDlg run;
    if (run.DoModal(hwnd()) == IDOK) {
        Ask(hwnd(), history::InsertNumber(kDisabled, run.fixedCount()), MB_OK);
    }
    EndDialog(IDOK);
}

void CMngAutoStartupsDlg::OnCancel() {
    if (Ask(hwnd(), kLearnMore, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        controls::html::OpenAddress(update::FixStartupNowPageUrl());
        return;
    }
    // Straight to the Windows startups page: passing through the tab-settings page made it
    // flicker by and, opened from the startups page, showed that page anew and scanned again.
    controls::ShowPage(controls::kWindowsStartupsPage);
    EndDialog(IDCANCEL);
}

}  // namespace cleanup
