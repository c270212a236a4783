#pragma once
// The list control both startup pages build on: a sortable report list that keeps its rows
// itself (an owner-data list, LVS_OWNERDATA in the template): each row owns the StartupItem it
// shows, its texts and its check box. The list asks for texts and boxes through LVN_GETDISPINFO,
// so filling it costs no more than filling a vector. It is drawn by the list itself (custom
// draw): every cell on the window colour (a selected row on a light tint), the text in the row's
// colour, the focused row of the focused list framed, the first column ending
// with an ellipsis, the others shortened with a path ellipsis, 8 pixels kept free at the right
// of every column but the last. A list with a publisher column looks its rows' publishers up on
// a worker after every fill and fills the column in as the answers come; a publisher that is
// only the file's own claim is drawn in grey. A list filled while hidden (the Windows startups
// page counts for the home page at start) starts the look-ups when it is first drawn, so that
// they don't compete with the window coming up.

#include "controls/sortable_list_view.h"
#include "engine/startup_item.h"
#include "platform/unique_any.h"
#include "views/publisher_lookup.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace views {

// How both pages mark an active entry that put itself back after it was switched off: the
// Windows startups page in its Status column, the Manual Fix page before its location (where
// the path ellipsis of a long location leaves it whole).
inline constexpr char kCameBackStatus[] = "Returned";
inline constexpr char kCameBackMark[] = "Returned: ";

class CStartupListView : public controls::CSortableListView {
public:
    // Appends a row of texts (one per column) that owns item; returns its index.
    int AppendRow(std::unique_ptr<engine::StartupItem> item, std::vector<std::string> texts,
                  bool checked = false);
    // Deletes every row and the records they own.
    void Clear();

    int RowCount() const;
    // The record row owns, or null for an index out of range.
    engine::StartupItem* ItemAt(int row) const;
    std::string CellText(int row, int column) const;
    // Selects and focuses row, scrolled into view.
    void SelectRow(int row) const;

    // The row's check box. Setting it tells the parent as a list does (LVN_ITEMCHANGED with the
    // old and new state image); a click on the box and the space bar set it so.
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);

    // Inserts the columns with these headers, in order.
    void InsertColumns(std::initializer_list<const char*> headers) const;
    // Gives every row a check box before its first column's text.
    void UseCheckBoxes();
    // A click on a row that lies at least 20 pixels from its left edge (not on a check box).
    bool IsClickOnRowText(const NMITEMACTIVATE& click) const;
    // Deletes every row and lets fill append the new ones; the list learns the new count once.
    template <typename Fill>
    void Refill(Fill&& fill) {
        ::SendMessage(hwnd(), WM_SETREDRAW, FALSE, 0);
        Clear();
        filling_ = true;
        fill();
        filling_ = false;
        SyncItemCount();
        LookUpPublishersOnceShown();
        ::SendMessage(hwnd(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd(), nullptr, TRUE);
    }

    // The column that shows each row's publisher (its text empty until the answer comes);
    // arrived runs on the list's thread after answers were filled in.
    void SetPublisherColumn(int column, std::function<void()> arrived = {});
    // The row's publisher once its answer has come, else null.
    const publisher::Publisher* PublisherAt(int row) const;

    // Adds extended styles to those the list has.
    void AddExtendedStyles(DWORD styles) const;
    // Sets the widths of the columns in order.
    void SetColumnWidths(const std::vector<int>& widths) const;
    // Width of the client area.
    int ClientWidth() const;

    ~CStartupListView() override;

protected:
    // The colour of a row's text.
    virtual COLORREF RowTextColour(int row, const engine::StartupItem* item) const = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SortRows(const controls::BaseTextComparer& comparer, int column, bool descending) override;

private:
    struct Row {
        std::unique_ptr<engine::StartupItem> item;
        std::vector<std::string> texts;
        bool checked = false;
        std::optional<publisher::Publisher> publisher;
        bool publisherUnverified = false;
    };

    const Row* RowAt(int row) const;
    HBRUSH RowBackground(int row) const;
    void SyncItemCount() const;
    // The row whose check box lies under a point of the client area, or -1.
    int CheckBoxRowAt(POINT point) const;
    // True when the list answers the notification itself.
    bool OnNotify(NMHDR& header, LRESULT& answer);
    void AnswerDisplayInfo(LVITEMA& item) const;
    void AnswerDisplayInfo(LVITEMW& item) const;
    // The row an LVN_ODFINDITEM search by text finds (flags LVFI_*), or -1: the first from start
    // on whose first text is text or, for a partial search, begins with it.
    int FindRow(const std::string& text, UINT flags, int start) const;
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void DrawCell(HDC dc, int row, int column) const;
    void LookUpPublishers();
    void LookUpPublishersOnceShown();
    void TakePublisherAnswers();

    std::vector<Row> rows_;
    int publisherColumn_ = -1;
    std::function<void()> publishersArrived_;
    // Where each record's row is; rebuilt after the rows were added or moved.
    std::unordered_map<const engine::StartupItem*, size_t> rowOfItem_;
    bool rowOfItemStale_ = true;
    PublisherLookup publishers_;
    bool publishersPending_ = false;
    bool checkBoxes_ = false;
    bool filling_ = false;
    // Made on the first selected row drawn.
    mutable platform::unique_hbrush selectedBrush_, inactiveBrush_;
};

}  // namespace views
