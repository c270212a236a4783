#include "cleanup/ignore_list_page.h"

#include "cleanup/ignore_list.h"
#include "controls/list_rows.h"
#include "engine/product_name.h"
#include "history/record_file.h"
#include "platform/message_box.h"
#include "res/art_ids.h"
#include "controls/page_host.h"

#include <commctrl.h>

namespace cleanup {

namespace {
constexpr char kSelectOne[] = "Please select an item to remove from ignore list";
constexpr char kRemoved[] =
    "The selected prorgram(s) have been added back to Windows Startup program list.";
constexpr char kNotSaved[] = "The ignore list could not be saved; nothing was removed.";

void Tell(HWND owner, const char* text, UINT icon) {
    platform::ShowMessageBox(owner, text, engine::ProductName, icon);
}
}  // namespace

CIgnoreListPage::CIgnoreListPage() : DialogImpl(IDD_IGNORE_LIST_PAGE, RGB(255, 255, 255)) {}

const controls::MessageTable<CIgnoreListPage>& CIgnoreListPage::Messages() {
    static const controls::MessageTable<CIgnoreListPage> table = {
        controls::OnMessage(WM_INITDIALOG, &CIgnoreListPage::OnInitDialog),
        controls::OnMessage(WM_SHOWWINDOW, &CIgnoreListPage::OnShowWindow),
        controls::OnMessage(WM_SIZE, &CIgnoreListPage::OnSize),
        controls::OnCommand(kBackButton, &CIgnoreListPage::OnBack),
        controls::OnCommand(kRemoveButton, &CIgnoreListPage::OnRemove),
    };
    return table;
}

LRESULT CIgnoreListPage::OnInitDialog(WPARAM, LPARAM) {
    list_ = Item(IDC_IGNORE_LIST);
    controls::AddColumn(list_, 0, "Name", 0);
    controls::AddColumn(list_, 1, "Location", 0);
    SetColumnWidths(0);
    ListView_SetExtendedListViewStyle(
        list_, LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    Anchor(IDC_IGNORE_LIST, controls::kStretchWidth | controls::kStretchHeight);
    Anchor(kBackButton, controls::kMoveWithRight | controls::kMoveWithBottom);
    Anchor(kRemoveButton, controls::kMoveWithRight | controls::kMoveWithBottom);
    back_.SubclassDlgItem(kBackButton, hwnd());
    back_.SetBitmaps(art::kBack);
    remove_.SubclassDlgItem(kRemoveButton, hwnd());
    remove_.SetBitmaps(art::kRemove);
    return TRUE;
}

LRESULT CIgnoreListPage::OnShowWindow(WPARAM shown, LPARAM) {
    if (shown) {
        SetColumnWidths(1);
        Reload();
    }
    return 0;
}

LRESULT CIgnoreListPage::OnSize(WPARAM type, LPARAM) {
    if (type != SIZE_MINIMIZED && list_) {
        controlPos().MoveControls();
        SetColumnWidths(0);
    }
    return 0;
}

void CIgnoreListPage::SetColumnWidths(int trim) const {
    const int width = controls::ClientWidth(list_);
    ListView_SetColumnWidth(list_, 0, width / 5);
    ListView_SetColumnWidth(list_, 1, width - width / 5 - trim);
}

void CIgnoreListPage::Reload() {
    ListView_DeleteAllItems(list_);
    if (!history::FileExists(IgnoreFilePath())) {
        ::EnableWindow(remove_.hwnd(), FALSE);
        return;
    }
    ::EnableWindow(remove_.hwnd(), TRUE);
    for (const IgnoreRecord& row : IgnoreRows(ReadIgnoreRecords())) {
        controls::AppendRow(list_, {row.name, row.command});
    }
}

void CIgnoreListPage::OnBack() { controls::ShowPage(controls::kHomePage); }

void CIgnoreListPage::OnRemove() {
    std::vector<std::string> removed;
    for (int row = ListView_GetItemCount(list_) - 1; row >= 0; --row) {
        if (controls::IsRowChecked(list_, row)) {
            removed.push_back(controls::RowText(list_, row, 0));
        }
    }
    if (removed.empty()) {
        Tell(hwnd(), kSelectOne, MB_ICONINFORMATION);
        return;
    }
    // The file is rewritten first: the user hears of the removal only once it has happened.
    if (RemoveFromIgnoreList(removed) != IgnoreResult::Done) {
        Tell(hwnd(), kNotSaved, MB_ICONWARNING);
        return;
    }
    Tell(hwnd(), kRemoved, MB_ICONINFORMATION);
    Reload();
}

}  // namespace cleanup
