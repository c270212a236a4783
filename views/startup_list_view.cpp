#include "views/startup_list_view.h"

#include "engine/text.h"
#include "platform/app_messages.h"
#include "platform/gdi_select.h"
#include "platform/text_codec.h"

#include <windowsx.h>

#include <algorithm>
#include <numeric>

namespace views {
namespace {
// Free pixels at the right edge of every column but the last.
constexpr int kColumnRightMargin = 8;
constexpr int kTextIndent = 2;
// The tints of a selected row, light enough for the red and green row texts.
constexpr COLORREF kSelectedRowColour = RGB(204, 232, 255);
constexpr COLORREF kInactiveSelectedRowColour = RGB(225, 225, 225);
// A click this close to a row's left edge lands on its check box.
constexpr int kCheckBoxClickWidth = 20;
// The state image of a check box: 1 unticked, 2 ticked.
UINT CheckBoxState(bool checked) { return INDEXTOSTATEIMAGEMASK(checked ? 2 : 1); }

}  // namespace

CStartupListView::~CStartupListView() = default;

int CStartupListView::AppendRow(std::unique_ptr<engine::StartupItem> item,
                                std::vector<std::string> texts, bool checked) {
    if (publisherColumn_ >= 0 && texts.size() <= static_cast<size_t>(publisherColumn_)) {
        texts.resize(static_cast<size_t>(publisherColumn_) + 1);
    }
    rows_.push_back(Row{std::move(item), std::move(texts), checked, std::nullopt, false});
    rowOfItemStale_ = true;
    if (!filling_) {
        SyncItemCount();
    }
    return static_cast<int>(rows_.size()) - 1;
}

void CStartupListView::Clear() {
    ::SendMessage(hwnd(), LVM_DELETEALLITEMS, 0, 0);
    // No answer for a record deleted here may reach a new row.
    if (publisherColumn_ >= 0) {
        publishers_.Start(hwnd(), {});
    }
    rows_.clear();
    rowOfItemStale_ = true;
}

void CStartupListView::SetPublisherColumn(int column, std::function<void()> arrived) {
    publisherColumn_ = column;
    publishersArrived_ = std::move(arrived);
}

const publisher::Publisher* CStartupListView::PublisherAt(int row) const {
    const Row* found = RowAt(row);
    return found && found->publisher ? &*found->publisher : nullptr;
}

void CStartupListView::LookUpPublishers() {
    if (publisherColumn_ < 0) {
        return;
    }
    std::vector<PublisherLookup::Request> requests;
    requests.reserve(rows_.size());
    for (const Row& row : rows_) {
        requests.push_back({row.item.get(), row.item ? row.item->command : std::string()});
    }
    publishers_.Start(hwnd(), std::move(requests));
}

void CStartupListView::LookUpPublishersOnceShown() {
    publishersPending_ = !::IsWindowVisible(hwnd());
    if (!publishersPending_) {
        LookUpPublishers();
    }
}

void CStartupListView::TakePublisherAnswers() {
    std::vector<PublisherLookup::Answer> answers = publishers_.TakeAnswers();
    if (answers.empty()) {
        return;
    }
    if (rowOfItemStale_) {
        rowOfItem_.clear();
        for (size_t i = 0; i < rows_.size(); ++i) {
            rowOfItem_[rows_[i].item.get()] = i;
        }
        rowOfItemStale_ = false;
    }
    // Only rows on screen are drawn again: most answers are for rows scrolled away.
    const int top = ListView_GetTopIndex(hwnd());
    const int bottom = top + ListView_GetCountPerPage(hwnd());
    bool shownChanged = false;
    for (PublisherLookup::Answer& answer : answers) {
        const auto found = rowOfItem_.find(answer.item);
        if (found == rowOfItem_.end()) {
            continue;
        }
        Row& row = rows_[found->second];
        row.texts[static_cast<size_t>(publisherColumn_)] =
            publisher::PublisherText(answer.publisher, &row.publisherUnverified);
        row.publisher = std::move(answer.publisher);
        const int index = static_cast<int>(found->second);
        shownChanged = shownChanged || (index >= top && index <= bottom);
    }
    if (shownChanged) {
        ListView_RedrawItems(hwnd(), top, std::min(bottom, RowCount() - 1));
    }
    if (publishersArrived_) {
        publishersArrived_();
    }
}

void CStartupListView::SyncItemCount() const {
    ::SendMessage(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_.size()), LVSICF_NOSCROLL);
}

int CStartupListView::RowCount() const { return static_cast<int>(rows_.size()); }

const CStartupListView::Row* CStartupListView::RowAt(int row) const {
    return row >= 0 && row < RowCount() ? &rows_[static_cast<size_t>(row)] : nullptr;
}

engine::StartupItem* CStartupListView::ItemAt(int row) const {
    const Row* found = RowAt(row);
    return found ? found->item.get() : nullptr;
}

std::string CStartupListView::CellText(int row, int column) const {
    const Row* found = RowAt(row);
    if (!found || column < 0 || static_cast<size_t>(column) >= found->texts.size()) {
        return {};
    }
    return found->texts[static_cast<size_t>(column)];
}

void CStartupListView::SelectRow(int row) const {
    ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(hwnd(), row, FALSE);
}

bool CStartupListView::IsChecked(int row) const {
    const Row* found = RowAt(row);
    return found && found->checked;
}

void CStartupListView::SetChecked(int row, bool checked) {
    if (!RowAt(row) || rows_[static_cast<size_t>(row)].checked == checked) {
        return;
    }
    rows_[static_cast<size_t>(row)].checked = checked;
    ListView_RedrawItems(hwnd(), row, row);
    const UINT kept = ListView_GetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED);
    NMLISTVIEW change{};
    change.hdr.hwndFrom = hwnd();
    change.hdr.idFrom = static_cast<UINT_PTR>(id());
    change.hdr.code = LVN_ITEMCHANGED;
    change.iItem = row;
    change.uChanged = LVIF_STATE;
    change.uOldState = kept | CheckBoxState(!checked);
    change.uNewState = kept | CheckBoxState(checked);
    ::SendMessage(::GetParent(hwnd()), WM_NOTIFY, change.hdr.idFrom,
                  reinterpret_cast<LPARAM>(&change));
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

void CStartupListView::UseCheckBoxes() {
    AddExtendedStyles(LVS_EX_CHECKBOXES);
    // An owner-data list stores no state but selection and focus: it asks for the boxes too.
    ListView_SetCallbackMask(hwnd(), LVIS_STATEIMAGEMASK);
    checkBoxes_ = true;
}

bool CStartupListView::IsClickOnRowText(const NMITEMACTIVATE& click) const {
    RECT row{};
    return click.iItem >= 0 && click.iItem < RowCount() &&
           ListView_GetItemRect(hwnd(), click.iItem, &row, LVIR_BOUNDS) &&
           click.ptAction.x - row.left >= kCheckBoxClickWidth;
}

int CStartupListView::CheckBoxRowAt(POINT point) const {
    if (!checkBoxes_) {
        return -1;
    }
    LVHITTESTINFO hit{};
    hit.pt = point;
    const int row = ListView_HitTest(hwnd(), &hit);
    RECT bounds{};
    if (!RowAt(row) || !ListView_GetItemRect(hwnd(), row, &bounds, LVIR_BOUNDS)) {
        return -1;
    }
    return point.x - bounds.left < kCheckBoxClickWidth ? row : -1;
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

// The list keeps its selection by index: the selected row is selected again where it went.
void CStartupListView::SortRows(const controls::BaseTextComparer& comparer, int column,
                                bool descending) {
    const int selected = ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED);
    const engine::StartupItem* selectedItem = ItemAt(selected);
    std::vector<controls::SortContext> keys(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        keys[i].index = static_cast<int>(i);
        keys[i].text = CellText(static_cast<int>(i), column);
        keys[i].data = reinterpret_cast<LPARAM>(rows_[i].item.get());
    }
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int compared = comparer.Compare(keys[a], keys[b]);
        return descending ? compared > 0 : compared < 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (size_t i : order) {
        sorted.push_back(std::move(rows_[i]));
    }
    rows_.swap(sorted);
    rowOfItemStale_ = true;
    if (selectedItem) {
        const auto moved = std::find_if(rows_.begin(), rows_.end(), [&](const Row& row) {
            return row.item.get() == selectedItem;
        });
        const int now = static_cast<int>(moved - rows_.begin());
        if (now != selected) {
            const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
            ListView_SetItemState(hwnd(), selected, 0, both);
            ListView_SetItemState(hwnd(), now, both, both);
        }
    }
    Invalidate();
}

int CStartupListView::FindRow(const std::string& text, UINT flags, int start) const {
    const int count = RowCount();
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) {
        return -1;
    }
    const bool partial = (flags & LVFI_PARTIAL) != 0;
    if (start < 0 || start >= count) {
        start = 0;
    }
    const int steps = (flags & LVFI_WRAP) ? count : count - start;
    for (int step = 0; step < steps; ++step) {
        const int row = (start + step) % count;
        const std::string name = CellText(row, 0);
        if (partial ? engine::StartsWithNoCase(name, text) : engine::EqualsNoCase(name, text)) {
            return row;
        }
    }
    return -1;
}

void CStartupListView::AnswerDisplayInfo(LVITEMA& item) const {
    const Row* row = RowAt(item.iItem);
    if (!row) {
        return;
    }
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        ::lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
    }
    if ((item.mask & LVIF_STATE) && checkBoxes_) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | CheckBoxState(row->checked);
    }
}

void CStartupListView::AnswerDisplayInfo(LVITEMW& item) const {
    // Room for the longest 8-bit form of cchTextMax UTF-16 units: three bytes each in UTF-8.
    std::string text(item.cchTextMax > 0 ? static_cast<size_t>(item.cchTextMax) * 3 : 1, '\0');
    LVITEMA narrow{};
    narrow.mask = item.mask;
    narrow.iItem = item.iItem;
    narrow.iSubItem = item.iSubItem;
    narrow.state = item.state;
    narrow.pszText = text.data();
    narrow.cchTextMax = static_cast<int>(text.size());
    AnswerDisplayInfo(narrow);
    item.state = narrow.state;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring wide = platform::text::Wide(text.c_str());
        size_t count = std::min(wide.size(), static_cast<size_t>(item.cchTextMax - 1));
        // Never half a surrogate pair at the cut.
        if (count < wide.size() && count > 0 && wide[count - 1] >= 0xD800 &&
            wide[count - 1] <= 0xDBFF) {
            --count;
        }
        std::copy_n(wide.data(), count, item.pszText);
        item.pszText[count] = L'\0';
    }
}

bool CStartupListView::OnNotify(NMHDR& header, LRESULT& answer) {
    switch (header.code) {
    case LVN_GETDISPINFOA:
        AnswerDisplayInfo(reinterpret_cast<NMLVDISPINFOA&>(header).item);
        answer = 0;
        return true;
    case LVN_GETDISPINFOW:
        AnswerDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header).item);
        answer = 0;
        return true;
    case LVN_ODFINDITEMA: {
        const auto& find = reinterpret_cast<NMLVFINDITEMA&>(header);
        answer = find.lvfi.psz ? FindRow(find.lvfi.psz, find.lvfi.flags, find.iStart) : -1;
        return true;
    }
    case LVN_ODFINDITEMW: {
        const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
        answer = find.lvfi.psz
                     ? FindRow(platform::text::Narrow(find.lvfi.psz), find.lvfi.flags, find.iStart)
                     : -1;
        return true;
    }
    case NM_CUSTOMDRAW:
        answer = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        return true;
    default: return false;
    }
}

LRESULT CStartupListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case platform::MSG_PUBLISHER_ANSWERS: TakePublisherAnswers(); return 0;
    case WM_PAINT:
        if (publishersPending_) {
            publishersPending_ = false;
            LookUpPublishers();
        }
        break;
    case controls::kReflectedBase + WM_NOTIFY: {
        LRESULT answer = 0;
        if (OnNotify(*reinterpret_cast<NMHDR*>(lParam), answer)) {
            return answer;
        }
        break;
    }
    // The list would tick a box only in its own store, which an owner-data list lacks.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int row = CheckBoxRowAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (row >= 0) {
            ::SetFocus(hwnd());
            SetChecked(row, !IsChecked(row));
            return 0;
        }
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && checkBoxes_) {
            const int row = ListView_GetNextItem(hwnd(), -1, LVNI_FOCUSED);
            if (row >= 0) {
                SetChecked(row, !IsChecked(row));
            }
            return 0;
        }
        break;
    default: break;
    }
    return CSortableListView::WindowProc(message, wParam, lParam);
}

// A selected row lies on a light tint, so that its text keeps the colour that tells its state
// (red: unsaved, green: listed); the tint is grey while the list has no focus.
HBRUSH CStartupListView::RowBackground(int row) const {
    if (!(ListView_GetItemState(hwnd(), row, LVIS_SELECTED) & LVIS_SELECTED)) {
        return ::GetSysColorBrush(COLOR_WINDOW);
    }
    if (!selectedBrush_) {
        selectedBrush_.reset(::CreateSolidBrush(kSelectedRowColour));
        inactiveBrush_.reset(::CreateSolidBrush(kInactiveSelectedRowColour));
    }
    return ::GetFocus() == hwnd() ? selectedBrush_.get() : inactiveBrush_.get();
}

// The whole row is drawn at its item stage, which every version of the list sends.
LRESULT CStartupListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const int row = static_cast<int>(draw.nmcd.dwItemSpec);
        const int columns = ColumnCount();
        for (int column = 0; column < columns; ++column) {
            DrawCell(draw.nmcd.hdc, row, column);
        }
        // Keyboard users see where they are: the focused row of the focused list gets the
        // dotted frame over its highlight.
        RECT bounds{};
        if (::GetFocus() == hwnd() &&
            (ListView_GetItemState(hwnd(), row, LVIS_FOCUSED) & LVIS_FOCUSED) &&
            ListView_GetItemRect(hwnd(), row, &bounds, LVIR_BOUNDS)) {
            ::DrawFocusRect(draw.nmcd.hdc, &bounds);
        }
        return CDRF_SKIPDEFAULT;
    }
    default: return CDRF_DODEFAULT;
    }
}

void CStartupListView::DrawCell(HDC dc, int row, int column) const {
    RECT bounds{};
    if (!RowAt(row) || !ListView_GetItemRect(hwnd(), row, &bounds, LVIR_BOUNDS)) {
        return;
    }
    RECT cell = bounds;
    for (int before = 0; before < column; ++before) {
        cell.left += ListView_GetColumnWidth(hwnd(), before);
    }
    cell.right = cell.left + ListView_GetColumnWidth(hwnd(), column);
    ::FillRect(dc, &cell, RowBackground(row));

    RECT text = cell;
    text.left += kTextIndent;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (column == 0) {
        format |= DT_END_ELLIPSIS;
        HIMAGELIST boxes = ListView_GetImageList(hwnd(), LVSIL_STATE);
        if (checkBoxes_ && boxes) {
            int width = 0, height = 0;
            ImageList_GetIconSize(boxes, &width, &height);
            ImageList_Draw(boxes, IsChecked(row) ? 1 : 0, dc, text.left,
                           cell.top + (cell.bottom - cell.top - height) / 2, ILD_NORMAL);
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
    // The wide call: GDI's 8-bit one converts with the font's code page, not the process's.
    const std::wstring content = platform::text::Wide(CellText(row, column));
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessage(hwnd(), WM_GETFONT, 0, 0));
    platform::SelectedObject selected(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    const bool claimOnly = column == publisherColumn_ && RowAt(row)->publisherUnverified;
    ::SetTextColor(dc, claimOnly ? ::GetSysColor(COLOR_GRAYTEXT) : RowTextColour(row, ItemAt(row)));
    ::DrawTextW(dc, content.data(), static_cast<int>(content.size()), &text, format);
}

}  // namespace views
