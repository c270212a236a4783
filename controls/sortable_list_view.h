#pragma once
// A report list view that sorts by a column when its header is clicked, with an arrow in the
// header of the sorted column. By default the list's own items are sorted (LVM_SORTITEMS); rows
// whose item data is not unique get their index as item data for the length of such a sort
// (LVN_ITEMCHANGED with LVIF_PARAM reaches the parent then). A list that keeps its rows itself
// (an owner-data list) sorts them in SortRows.

#include "controls/subclassed_window.h"
#include "controls/text_comparer.h"
#include "platform/unique_any.h"

#include <map>
#include <unordered_map>
#include <vector>

namespace controls {

enum SortDirection : int {
    kSortToggle = 0,  // only as a request: flip as a click would
    kSortAscending = 1,
    kSortDescending = 2,
};

// Header bitmaps for common controls older than version 6.
inline constexpr UINT kSortUpBitmap = 133;
inline constexpr UINT kSortDownBitmap = 135;

class CSortableListView : public CSubclassedWindow {
public:
    // resources: the module that holds the arrow bitmaps (the program's own by default).
    explicit CSortableListView(HINSTANCE resources = nullptr);

    // Every column the list has now sorts with comparer (which must outlive the list).
    void SetComparerForAllColumns(const BaseTextComparer& comparer);
    void SetComparer(int column, const BaseTextComparer* comparer);
    int ColumnCount() const;

    // Sorts by column with a requested direction (SortDirection). Another column than the
    // sorted one always starts ascending. False when the column has no comparer.
    bool SortByColumn(int column, int requested);
    // As a click on the header of column.
    bool OnHeaderClick(int column) { return SortByColumn(column, kSortToggle); }

    int sortedColumn() const { return sortedColumn_; }
    int direction() const { return direction_; }

    // Packed version (major << 16 | minor) of the common controls the process uses.
    static DWORD CommonControlsVersion();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Puts the rows in the order comparer gives for column (reversed when descending).
    virtual void SortRows(const BaseTextComparer& comparer, int column, bool descending);

private:
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM self);
    void ReadRow(int index, int column, SortContext& context) const;
    void SetRowData(int index, LPARAM data) const;
    void SetHeaderArrow(int column, int direction);

    HINSTANCE resources_;
    int sortedColumn_ = -1;
    int direction_ = kSortAscending;
    std::map<int, const BaseTextComparer*> comparers_;
    // The comparer and direction of the sort under way.
    const BaseTextComparer* current_ = nullptr;
    bool descending_ = false;
    // Every row as it stood when the sort began, and the row each sort key stands for. The
    // sort goes by item data (the keys), as the list's items move under an index-based sort.
    std::vector<SortContext> rows_;
    std::unordered_map<LPARAM, size_t> rowOfKey_;
    platform::unique_hbitmap upBitmap_, downBitmap_;
};

}  // namespace controls
