#pragma once
// The Manual Fix page: every startup entry with a check box, filtered by state; saving switches
// the changed entries on or off and records the ones switched off as one "Manual Fix".

#include "controls/base_dlg.h"
#include "controls/hyperlink_button.h"
#include "controls/html/pp_html_static.h"
#include "controls/label.h"
#include "controls/xp_button.h"
#include "engine/logon_task_snapshot.h"
#include "history/manual_save.h"
#include "platform/unique_any.h"
#include "views/manul_startups_ids.h"
#include "views/startup_list_view.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace views {

// The check-box list of the Manual Fix page. A row whose box differs from its record (a
// change not saved yet) is drawn in red.
class CListCtrlStartups : public CStartupListView {
public:
    static constexpr COLORREF kUnsavedTextColour = RGB(255, 0, 0);

    static constexpr int kPublisherColumn = 3;

    // Columns, styles and comparers, once after the list was taken over; arrived runs when
    // publishers came in.
    void SetUp(std::function<void()> arrived);
    // Column widths while the page is resized, and when it is shown (room for the scroll bar).
    void SetCreationWidths() const;
    void SetShownWidths() const;

    // A row ticked when the entry is active.
    int AppendEntry(const engine::StartupItem& item);

protected:
    COLORREF RowTextColour(int row, const engine::StartupItem* item) const override;
};

class CManulStartupsPage : public controls::DialogImpl<CManulStartupsPage, controls::CBaseDlg> {
public:
    enum Filter { kActivePrograms = 0, kDisabledPrograms = 1, kAllPrograms = 2 };

    CManulStartupsPage();
    static const controls::MessageTable<CManulStartupsPage>& Messages();

    // Lists the entries of the current filter again; unsaved ticks are dropped.
    void Reload();
    // Switches every changed row and records the ones switched off.
    history::ManualSaveOutcome Save();

    CListCtrlStartups& list() { return list_; }
    int activeRowCount() const { return activeRows_; }
    // The row whose details are shown.
    int detailsRow() const { return detailsRow_; }
    // The icon shown for the selected entry's program.
    HICON programIcon() const { return programIcon_.get(); }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnSize(WPARAM type, LPARAM);
    void OnSaveClicked();
    void OnQuietSaveClicked();
    void OnCancelClicked();
    void OnAutomaticFixClicked();
    void OnFilterChanged();
    LRESULT OnItemChanged(NMHDR* header);
    LRESULT OnListClick(NMHDR* header);
    LRESULT OnEntriesChanged(WPARAM, LPARAM);

    Filter CurrentFilter() const;
    void ShowDetails(int row);
    // The publisher part of the details, once the row's answer has come.
    void ShowPublisherDetails(int row);
    void OnPublishersArrived();

    CListCtrlStartups list_;
    controls::CLabel title_, hint_, programName_, company_, description_, signature_;
    controls::CXPButton save_, cancel_, quietSave_;
    controls::CHyperLinkButton automaticFix_;
    controls::html::CPPHtmlStatic notSure_;
    platform::unique_hicon programIcon_;
    int detailsRow_ = 0;
    const engine::StartupItem* detailsItem_ = nullptr;
    int activeRows_ = 0;
    bool reloading_ = false;
    std::optional<engine::TaskSnapshotSubscription> tasksChanged_;
};

}  // namespace views
