#include "controls/list_rows.h"

#include <vector>

namespace controls {

namespace {
// Longest cell text read back, in characters.
constexpr int kCellTextCount = 1040;
}  // namespace

int ClientWidth(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client.right - client.left;
}

void AddColumn(HWND list, int index, const tstring& title, int width) {
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<TCHAR*>(title.c_str());
    column.cx = width;
    ListView_InsertColumn(list, index, &column);
}

int AppendRow(HWND list, std::initializer_list<tstring> texts, LPARAM data) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<TCHAR*>(texts.size() ? texts.begin()->c_str() : TEXT(""));
    item.lParam = data;
    const int row = ListView_InsertItem(list, &item);
    if (row < 0) {
        return -1;
    }
    int column = 0;
    for (const tstring& text : texts) {
        if (column > 0) {
            ListView_SetItemText(list, row, column, const_cast<TCHAR*>(text.c_str()));
        }
        ++column;
    }
    return row;
}

tstring RowText(HWND list, int row, int column) {
    std::vector<TCHAR> buffer(kCellTextCount, 0);
    ListView_GetItemText(list, row, column, buffer.data(), kCellTextCount);
    return buffer.data();
}

LPARAM RowData(HWND list, int row) {
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return ListView_GetItem(list, &item) ? item.lParam : 0;
}

int FindRowByData(HWND list, LPARAM data) {
    LVFINDINFO find{};
    find.flags = LVFI_PARAM;
    find.lParam = data;
    return ListView_FindItem(list, -1, &find);
}

// State image 2 is the check mark; a row of a list without check boxes has none (0), which
// ListView_GetCheckState would report as checked.
bool IsRowChecked(HWND list, int row) {
    return (ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int CheckedRowCount(HWND list) {
    int checked = 0;
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row) {
        checked += IsRowChecked(list, row) ? 1 : 0;
    }
    return checked;
}

bool IsCheckMarkChange(const NMLISTVIEW& change) {
    return (change.uChanged & LVIF_STATE) != 0 &&
           ((change.uOldState ^ change.uNewState) & LVIS_STATEIMAGEMASK) != 0;
}

}  // namespace controls
