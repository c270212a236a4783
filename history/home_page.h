#pragma once
// The home page: the number of active startup entries and the scrap programs of the last scan
// and run, the way into the automatic fix and the history, and a maintenance tip.

#include "controls/base_dlg.h"
#include "controls/hyperlink_button.h"
#include "controls/label.h"
#include "controls/xp_button.h"
#include "engine/logon_task_snapshot.h"
#include "history/home_page_ids.h"

#include <optional>
#include <string>

namespace history {

class CHomePage : public controls::DialogImpl<CHomePage, controls::CBaseDlg> {
public:
    CHomePage();
    static const controls::MessageTable<CHomePage>& Messages();

    // Fills the three values from the Windows startups page and the status values.
    void RefreshStatus();
    // The tip shown (in the process's code page), chosen once when the page was made.
    const std::string& tipText() const { return tipText_; }

    // The tip texts, by number, in Windows-1252; the address its button opens for a tip in
    // either code page (empty for a text not listed).
    static const char* TipText(int index);
    static std::string TipAddress(const std::string& tipText);

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnSize(WPARAM type, LPARAM);
    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    LRESULT OnEntriesChanged(WPARAM, LPARAM);
    void OnFixClicked();
    void OnViewHistoryClicked();
    void OnTipClicked();

    void Layout() const;
    int CountActiveEntries() const;

    controls::CLabel actionRequired_, descriptionHeading_, statusHeading_;
    controls::CLabel totalCaption_, removedCaption_, foundCaption_;
    controls::CLabel total_, removed_, found_, improve_, tipHeading_, tip_;
    controls::CXPButton fix_, tipButton_;
    controls::CHyperLinkButton viewHistory_;
    std::string tipText_;
    std::optional<engine::TaskSnapshotSubscription> tasksChanged_;
};

}  // namespace history
