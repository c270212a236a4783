#pragma once
// CSetHistory: the fixes of data\history.dat whose fix file still exists, oldest first; the
// details button opens one of them.

// Template and control ids; the resource script reads this part.
#define IDD_HISTORY_PAGE 137
#define IDC_HISTORY_LIST 1041

#ifndef RC_INVOKED

#include "controls/base_dlg.h"
#include "controls/sortable_list_view.h"
#include "controls/text_comparer.h"
#include "controls/xp_button.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace history {

// A row's fix.
struct HistoryEntry {
    std::string remarks;
    std::int64_t fixTime = 0;  // seconds since 1970, UTC
    std::string action;
    std::string fixFilePath;
};

// Orders rows by the fix time they carry, not by the text shown (a text order would put
// January of one year before December of the year before).
class FixTimeComparer : public controls::BaseTextComparer {
public:
    int Compare(const controls::SortContext& first,
                const controls::SortContext& second) const override;
};

// The list owns each row's HistoryEntry.
class CListCtrlHistory : public controls::CSortableListView {
public:
    static constexpr int kRemarksColumn = 0;
    static constexpr int kScanTimeColumn = 1;
    static constexpr int kActionColumn = 2;

    void DeleteAllRows();
    void AddEntry(HistoryEntry entry);
    const HistoryEntry* EntryAt(int row) const;

private:
    std::vector<std::unique_ptr<HistoryEntry>> entries_;
};

class CSetHistory : public controls::DialogImpl<CSetHistory, controls::CBaseDlg> {
public:
    static constexpr UINT kDetailsButton = IDOK;

    CSetHistory();
    static const controls::MessageTable<CSetHistory>& Messages();

    CListCtrlHistory& list() { return list_; }
    void Reload();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnSize(WPARAM type, LPARAM);
    void OnDetails();
    void OnNothing() {}

    // Remarks w/2, scan time w/4, action the rest (less trim pixels).
    void SetColumnWidths(int trim) const;

    CListCtrlHistory list_;
    controls::CXPButton details_;
    FixTimeComparer byFixTime_;
};

// The number a remarks text begins with (its leading decimal digits), 0 without one.
int LeadingNumber(const std::string& text);

}  // namespace history

#endif  // RC_INVOKED
