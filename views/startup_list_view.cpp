#include "views/startup_list_view.h"

#include "platform/gdi_select.h"

#include <algorithm>

namespace views {
namespace {
// Cell texts are read into a buffer of this many characters.
constexpr int kCellTextCount = 260;
// Free pixels at the right edge of every column but the last.
constexpr int kColumnRightMargin = 8;
constexpr int kTextIndent = 2;
// A click this close to a row's left edge lands on its check box.
constexpr int kCheckBoxClickWidth = 20;
}  // namespace

CStartupListView::~CStartupListView() = default;

int CStartupListView::AppendRow(std::unique_ptr<engine::StartupItem> item,
                                const std::vector<std::string>& texts) {
    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = RowCount();
    row.pszText = const_cast<char*>(texts.empty() ? "" : texts[0].c_str());
    row.lParam = reinterpret_cast<LPARAM>(item.get());
    const int index = static_cast<int>(
        ::SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    if (index < 0) {
        return index;
    }
    records_.push_back(std::move(item));
    for (size_t column = 1; column < texts.size(); ++column) {
        LVITEMA cell{};
        cell.iSubItem = static_cast<int>(column);
        cell.pszText = const_cast<char*>(texts[column].c_str());
        ::SendMessageA(hwnd(), LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&cell));
    }
    return index;
}

void CStartupListView::Clear() {
    ::SendMessage(hwnd(), LVM_DELETEALLITEMS, 0, 0);
    records_.clear();
}

int CStartupListView::RowCount() const {
    return static_cast<int>(::SendMessage(hwnd(), LVM_GETITEMCOUNT, 0, 0));
}

engine::StartupItem* CStartupListView::ItemAt(int row) const {
    if (row < 0 || row >= RowCount()) {
        return nullptr;
    }
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!::SendMessageA(hwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<engine::StartupItem*>(item.lParam);
}

std::string CStartupListView::CellText(int row, int column) const {
    char text[kCellTextCount] = "";
    LVITEMA cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = kCellTextCount;
    ::SendMessageA(hwnd(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&cell));
    return text;
}

void CStartupListView::SelectRow(int row) const {
    ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(hwnd(), row, FALSE);
}

void CStartupListView::InsertColumns(std::initializer_list<const char*> headers) const {
    int column = 0;
    for (const char* text : headers) {
        LVCOLUMNA header{};
        header.mask = LVCF_TEXT | LVCF_SUBITEM;
        header.pszText = const_cast<char*>(text);
        header.iSubItem = column;
        ::SendMessageA(hwnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                       reinterpret_cast<LPARAM>(&header));
        ++column;
    }
}

bool CStartupListView::IsClickOnRowText(const NMITEMACTIVATE& click) const {
    RECT row{};
    return click.iItem >= 0 && click.iItem < RowCount() &&
           ListView_GetItemRect(hwnd(), click.iItem, &row, LVIR_BOUNDS) &&
           click.ptAction.x - row.left >= kCheckBoxClickWidth;
}

void CStartupListView::AddExtendedStyles(DWORD styles) const {
    ListView_SetExtendedListViewStyleEx(hwnd(), styles, styles);
}

void CStartupListView::SetColumnWidths(const std::vector<int>& widths) const {
    for (size_t column = 0; column < widths.size(); ++column) {
        ListView_SetColumnWidth(hwnd(), static_cast<int>(column), std::max(widths[column], 0));
    }
}

int CStartupListView::ClientWidth() const {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    return client.right - client.left;
}

LRESULT CStartupListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == controls::kReflectedBase + WM_NOTIFY &&
        reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW) {
        return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    }
    return CSortableListView::WindowProc(message, wParam, lParam);
}

// The whole row is drawn at its item stage, which every version of the list sends.
LRESULT CStartupListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const int row = static_cast<int>(draw.nmcd.dwItemSpec);
        const int columns = ColumnCount();
        for (int column = 0; column < columns; ++column) {
            DrawCell(draw.nmcd.hdc, row, column);
        }
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CStartupListView::DrawCell(HDC dc, int row, int column) const {
    RECT bounds{};
    if (!ListView_GetItemRect(hwnd(), row, &bounds, LVIR_BOUNDS)) {
        return;
    }
    RECT cell = bounds;
    for (int before = 0; before < column; ++before) {
        cell.left += ListView_GetColumnWidth(hwnd(), before);
    }
    cell.right = cell.left + ListView_GetColumnWidth(hwnd(), column);
    ::FillRect(dc, &cell, ::GetSysColorBrush(COLOR_WINDOW));

    RECT text = cell;
    text.left += kTextIndent;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (column == 0) {
        format |= DT_END_ELLIPSIS;
        HIMAGELIST boxes = ListView_GetImageList(hwnd(), LVSIL_STATE);
        if (DrawsCheckBox() && boxes) {
            int width = 0, height = 0;
            ImageList_GetIconSize(boxes, &width, &height);
            const UINT state = ListView_GetItemState(hwnd(), row, LVIS_STATEIMAGEMASK) >> 12;
            if (state > 0) {
                ImageList_Draw(boxes, static_cast<int>(state) - 1, dc, text.left,
                               cell.top + (cell.bottom - cell.top - height) / 2, ILD_NORMAL);
            }
            text.left += width + kTextIndent;
        } else {
            RECT label{};
            if (ListView_GetItemRect(hwnd(), row, &label, LVIR_LABEL)) {
                text.left = std::max(text.left, label.left + kTextIndent);
            }
        }
    } else {
        format |= DT_PATH_ELLIPSIS;
    }
    if (column + 1 < ColumnCount()) {
        text.right -= kColumnRightMargin;
    }
    if (text.right <= text.left) {
        return;
    }
    std::string content = CellText(row, column);
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessage(hwnd(), WM_GETFONT, 0, 0));
    platform::SelectedObject selected(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RowTextColour(row, ItemAt(row)));
    ::DrawTextA(dc, content.data(), static_cast<int>(content.size()), &text, format);
}

}  // namespace views
