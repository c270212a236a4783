#pragma once
// CHistoryDetailsDlg: the entries one fix switched off; checked entries are switched back on
// and leave the fix file.

// Template and control ids; the resource script reads this part.
#define IDD_HISTORY_DETAILS 139
#define IDC_DETAILS_HEADING 1008
#define IDC_DETAILS_LIST 1041
#define IDC_DETAILS_NOTE 1043
#define IDC_DETAILS_RESTORED 1045

#ifndef RC_INVOKED

#include "controls/base_dlg.h"
#include "controls/label.h"
#include "controls/sortable_list_view.h"
#include "controls/xp_button.h"
#include "engine/startup_item.h"

#include <memory>
#include <string>
#include <vector>

namespace history {

// The fix last opened from the history page, as the details dialog words its heading.
struct SelectedFix {
    std::string action;  // "Automatic Fix" or "Manual Fix"
    int fixedCount = 0;  // the number the fix's remarks begin with
};
// The one of the process; it keeps the last opened fix until another is opened.
SelectedFix& SelectedHistoryFix();

// One row per entry of the fix file; the list owns each row's switched-off entry.
class CListCtrlHisDetails : public controls::CSortableListView {
public:
    void DeleteAllRows();
    void AddEntry(engine::StartupItem entry);
    engine::StartupItem* EntryAt(int row) const;
    int RowCount() const;

private:
    std::vector<std::unique_ptr<engine::StartupItem>> entries_;
};

class CHistoryDetailsDlg : public controls::DialogImpl<CHistoryDetailsDlg, controls::CBaseDlg> {
public:
    explicit CHistoryDetailsDlg(std::string fixFilePath);
    static const controls::MessageTable<CHistoryDetailsDlg>& Messages();

    CListCtrlHisDetails& list() { return list_; }
    // Loads the fix file's entries, unchecked, with the heading and the restored count.
    void Load();

    // Whether an entry of this name is active now: on the Windows startups page when the
    // main window has one, else in the engine's own listing.
    static bool IsActiveNow(const std::string& name);

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    void OnLoadTimer();
    LRESULT OnRowChanged(NMHDR* header);
    void OnRestore();
    void OnClose();

    std::string fixFilePath_;
    controls::CLabel heading_, restored_;
    CListCtrlHisDetails list_;
    controls::CXPButton restore_, close_;
};

}  // namespace history

#endif  // RC_INVOKED
