#pragma once
// CMngAutoStartupsDlg, "Automatic Fix": scans for scrap programs behind an animation, lists
// them with check boxes (unticking one offers the ignore list) and starts the automatic run.

// Template and control ids; the resource script reads this part.
#define IDD_AUTOMATIC_FIX 134
#define IDC_AUTOFIX_HEADING 1008
#define IDC_AUTOFIX_NOTE 1040
#define IDC_AUTOFIX_LIST 1041
#define IDC_AUTOFIX_HINT 1043
#define IDC_AUTOFIX_ANIMATION 1101

#ifndef RC_INVOKED

#include "controls/base_dlg.h"
#include "controls/label.h"
#include "controls/picture_ex.h"
#include "controls/sortable_list_view.h"
#include "controls/xp_button.h"
#include "engine/startup_item.h"

namespace cleanup {

// The scrap programs of the last scan; each row's item data is its ScrapList entry (the list
// owns none of them).
class CListCtrlOptStartups : public controls::CSortableListView {
public:
    // A checked row: the name, and the command without blanks and quotes at its ends.
    void AddEntry(engine::StartupItem& entry) const;
    engine::StartupItem* EntryAt(int row) const;
};

class CMngAutoStartupsDlg : public controls::DialogImpl<CMngAutoStartupsDlg, controls::CBaseDlg> {
public:
    CMngAutoStartupsDlg();
    static const controls::MessageTable<CMngAutoStartupsDlg>& Messages();

    CListCtrlOptStartups& list() { return list_; }
    bool scanDone() const { return scanDone_; }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    void OnScanTimer();
    LRESULT OnRowChanged(NMHDR* header);
    void OnFix();
    void OnCancel();

    // Moves the entry of row to the ignore list; false when it could not be stored.
    bool MoveToIgnoreList(int row);
    // The heading, the fix button, and the end of the dialog once no row is left.
    void ShowListState();
    void SetHeadingCount(int count);

    controls::CLabel heading_, hint_;
    CListCtrlOptStartups list_;
    controls::CXPButton fixButton_;
    controls::CPictureEx animation_;
    // False until the scan has filled the list: check marks set while filling are no choice
    // of the user.
    bool scanDone_ = false;
};

}  // namespace cleanup

#endif  // RC_INVOKED
