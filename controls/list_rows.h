#pragma once
// Small operations on the rows and columns of a report list view, for the pages' lists.

#include "controls/text.h"

#include <commctrl.h>

#include <initializer_list>

namespace controls {

// The width of a window's client area in pixels.
int ClientWidth(HWND window);

void AddColumn(HWND list, int index, const tstring& title, int width);

// Appends a row with one text per column and the given item data; returns its index, or -1.
int AppendRow(HWND list, std::initializer_list<tstring> texts, LPARAM data = 0);

tstring RowText(HWND list, int row, int column);
LPARAM RowData(HWND list, int row);
// The row whose item data is data, or -1.
int FindRowByData(HWND list, LPARAM data);

bool IsRowChecked(HWND list, int row);
int CheckedRowCount(HWND list);

// Whether an LVN_ITEMCHANGED notification reports a change of the row's check mark.
bool IsCheckMarkChange(const NMLISTVIEW& change);

}  // namespace controls
