#pragma once
// The list control both startup pages build on: a sortable report list whose rows own the
// StartupItem they show, drawn by the list itself (custom draw): every cell on the window
// colour, the text in the row's colour, the first column ending with an ellipsis, the others
// shortened with a path ellipsis, 8 pixels kept free at the right of every column but the last.

#include "controls/sortable_list_view.h"
#include "engine/startup_item.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace views {

class CStartupListView : public controls::CSortableListView {
public:
    // Appends a row of texts (one per column) that owns item; returns its index.
    int AppendRow(std::unique_ptr<engine::StartupItem> item, const std::vector<std::string>& texts);
    // Deletes every row and the records they own.
    void Clear();

    int RowCount() const;
    // The record row owns, or null for an index out of range.
    engine::StartupItem* ItemAt(int row) const;
    std::string CellText(int row, int column) const;
    // Selects and focuses row, scrolled into view.
    void SelectRow(int row) const;

    // Inserts the columns with these headers, in order.
    void InsertColumns(std::initializer_list<const char*> headers) const;
    // A click on a row that lies at least 20 pixels from its left edge (not on a check box).
    bool IsClickOnRowText(const NMITEMACTIVATE& click) const;
    // Deletes every row and lets fill append the new ones without drawing in between.
    template <typename Fill>
    void Refill(Fill&& fill) {
        ::SendMessage(hwnd(), WM_SETREDRAW, FALSE, 0);
        Clear();
        fill();
        ::SendMessage(hwnd(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd(), nullptr, TRUE);
    }

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
    // Column 0 of a list with check boxes shows the row's box before the text.
    virtual bool DrawsCheckBox() const { return false; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void DrawCell(HDC dc, int row, int column) const;

    std::vector<std::unique_ptr<engine::StartupItem>> records_;
};

}  // namespace views
