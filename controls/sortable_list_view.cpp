#include "controls/sortable_list_view.h"

#include "platform/own_module.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace controls {

namespace {
// Longest text of a cell the sort looks at, in characters.
constexpr int kItemTextCount = 1024;
constexpr int kSortUpFormat = 0x400;    // HDF_SORTUP
constexpr int kSortDownFormat = 0x200;  // HDF_SORTDOWN
constexpr DWORD kVersion6 = 0x60000;
}  // namespace

CSortableListView::CSortableListView(HINSTANCE resources)
    : resources_(platform::ResourceModule(resources)) {}

int CSortableListView::ColumnCount() const {
    LVCOLUMN column{};
    column.mask = LVCF_WIDTH;
    int count = 0;
    while (ListView_GetColumn(hwnd(), count, &column)) {
        ++count;
    }
    return count;
}

void CSortableListView::SetComparerForAllColumns(const BaseTextComparer& comparer) {
    const int count = ColumnCount();
    for (int c = 0; c < count; ++c) {
        comparers_[c] = &comparer;
    }
}

void CSortableListView::SetComparer(int column, const BaseTextComparer* comparer) {
    if (comparer) {
        comparers_[column] = comparer;
    } else {
        comparers_.erase(column);
    }
}

bool CSortableListView::SortByColumn(int column, int requested) {
    const auto found = comparers_.find(column);
    if (found == comparers_.end() || !hwnd()) {
        return false;
    }
    if (column == sortedColumn_) {
        if (requested == kSortAscending || requested == kSortDescending) {
            direction_ = requested;
        } else {
            direction_ = direction_ == kSortAscending ? kSortDescending : kSortAscending;
        }
    } else {
        if (sortedColumn_ >= 0) {
            SetHeaderArrow(sortedColumn_, 0);
        }
        sortedColumn_ = column;
        direction_ = kSortAscending;
    }
    SetHeaderArrow(column, direction_);
    SortRows(*found->second, column, direction_ == kSortDescending);
    return true;
}

void CSortableListView::SortRows(const BaseTextComparer& comparer, int column, bool descending) {
    current_ = &comparer;
    descending_ = descending;
    const int count = ListView_GetItemCount(hwnd());
    rows_.assign(static_cast<size_t>(std::max(0, count)), SortContext{});
    rowOfKey_.clear();
    for (int i = 0; i < count; ++i) {
        ReadRow(i, column, rows_[static_cast<size_t>(i)]);
        rowOfKey_.emplace(rows_[static_cast<size_t>(i)].data, static_cast<size_t>(i));
    }
    // Rows that share their item data get their index as a stand-in key for the sort.
    const bool keysAreIndexes = rowOfKey_.size() != rows_.size();
    if (keysAreIndexes) {
        rowOfKey_.clear();
        for (int i = 0; i < count; ++i) {
            SetRowData(i, i);
            rowOfKey_.emplace(i, static_cast<size_t>(i));
        }
    }
    ::SendMessage(hwnd(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                  reinterpret_cast<LPARAM>(&CompareRows));
    if (keysAreIndexes) {
        for (int i = 0; i < count; ++i) {
            LVITEM item{};
            item.mask = LVIF_PARAM;
            item.iItem = i;
            ListView_GetItem(hwnd(), &item);
            SetRowData(i, rows_[static_cast<size_t>(item.lParam)].data);
        }
    }
    rows_.clear();
    rowOfKey_.clear();
}

void CSortableListView::ReadRow(int index, int column, SortContext& context) const {
    std::vector<TCHAR> buffer(kItemTextCount, 0);
    LVITEM item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = kItemTextCount;
    ::SendMessage(hwnd(), LVM_GETITEMTEXT, static_cast<WPARAM>(index),
                  reinterpret_cast<LPARAM>(&item));
    context.index = index;
    context.text = buffer.data();
    LVITEM data{};
    data.mask = LVIF_PARAM;
    data.iItem = index;
    ListView_GetItem(hwnd(), &data);
    context.data = data.lParam;
}

void CSortableListView::SetRowData(int index, LPARAM data) const {
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    ListView_SetItem(hwnd(), &item);
}

int CALLBACK CSortableListView::CompareRows(LPARAM first, LPARAM second, LPARAM selfParam) {
    auto* self = reinterpret_cast<CSortableListView*>(selfParam);
    const auto a = self->rowOfKey_.find(first);
    const auto b = self->rowOfKey_.find(second);
    if (a == self->rowOfKey_.end() || b == self->rowOfKey_.end()) {
        return 0;
    }
    const int order = self->current_->Compare(self->rows_[a->second], self->rows_[b->second]);
    return self->descending_ ? -order : order;
}

// direction 0 clears the arrow.
void CSortableListView::SetHeaderArrow(int column, int direction) {
    HWND header = ListView_GetHeader(hwnd());
    HDITEM item{};
    item.mask = HDI_FORMAT;
    if (!header || !Header_GetItem(header, column, &item)) {
        return;
    }
    if (CommonControlsVersion() >= kVersion6) {
        item.fmt &= ~(kSortUpFormat | kSortDownFormat);
        if (direction == kSortAscending) {
            item.fmt |= kSortUpFormat;
        } else if (direction == kSortDescending) {
            item.fmt |= kSortDownFormat;
        }
    } else {
        item.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
        if (direction != 0) {
            auto& bitmap = direction == kSortAscending ? upBitmap_ : downBitmap_;
            if (!bitmap) {
                bitmap.reset(::LoadBitmap(
                    resources_, MAKEINTRESOURCE(direction == kSortAscending ? kSortUpBitmap
                                                                            : kSortDownBitmap)));
            }
            item.mask |= HDI_BITMAP;
            item.hbm = bitmap.get();
            item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
        }
    }
    Header_SetItem(header, column, &item);
}

DWORD CSortableListView::CommonControlsVersion() {
    HMODULE comctl = ::GetModuleHandle(TEXT("comctl32.dll"));
    auto* getVersion = comctl ? reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(
                                    ::GetProcAddress(comctl, "DllGetVersion")))
                              : nullptr;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (!getVersion || FAILED(getVersion(&info))) {
        return 0;
    }
    return (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
}

LRESULT CSortableListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReflectedBase + WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == LVN_COLUMNCLICK) {
            OnHeaderClick(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        }
        // Zero: the dialog's own table still sees the notification.
        return 0;
    }
    return CSubclassedWindow::WindowProc(message, wParam, lParam);
}

}  // namespace controls
