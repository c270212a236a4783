#pragma once
// The Windows startups page: every startup entry with its status and the count of the active
// ones; it runs the scrap scan each time it is shown and leads to the two fixes.

#include "controls/base_dlg.h"
#include "controls/html/pp_html_static.h"
#include "controls/label.h"
#include "controls/xp_button.h"
#include "engine/logon_task_snapshot.h"
#include "platform/unique_any.h"
#include "views/startup_list_view.h"
#include "views/wnd_startups_ids.h"

#include <optional>
#include <string>

namespace views {

// The status list: a row that holds a record is drawn in green.
class CListCtrlWinStrtup : public CStartupListView {
public:
    static constexpr COLORREF kRowTextColour = RGB(53, 145, 53);
    static constexpr int kPublisherColumn = 4;

    void SetUp();
    void SetWidths() const;
    int AppendEntry(const engine::StartupItem& item);

protected:
    COLORREF RowTextColour(int row, const engine::StartupItem* item) const override;
};

class CWndStartupsPage : public controls::DialogImpl<CWndStartupsPage, controls::CBaseDlg> {
public:
    CWndStartupsPage();
    ~CWndStartupsPage() override;
    static const controls::MessageTable<CWndStartupsPage>& Messages();

    // Loads the list and returns the number of active entries.
    int LoadAndCountActive();
    // Loads the list only when it has no rows; returns the number of rows.
    int EnsureLoadedRowCount();
    // True when a loaded row of that name (compared without regard to case) is active.
    bool IsActive(const std::string& name) const;
    int RowCount() const { return list_.RowCount(); }
    int activeCount() const { return activeCount_; }
    bool loaded() const { return loaded_; }

    // The automatic fix button: the message when the last scan found nothing, else the
    // Automatic Fix dialog; after a fix the home page and a fresh list.
    void OpenAutomaticFix();

    CListCtrlWinStrtup& list() { return list_; }
    const controls::CXPButton& manualFixButton() const { return manualFix_; }
    const controls::CXPButton& automaticFixButton() const { return automaticFix_; }
    HWND toolTip() const { return toolTip_; }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnSize(WPARAM type, LPARAM);
    LRESULT OnEntriesChanged(WPARAM, LPARAM);
    void OnManualFixClicked();
    LRESULT OnListClick(NMHDR* header);

    void CreateToolTips();
    void SetButtonBitmaps(size_t scrapFound);
    void PlaceButtons() const;

    CListCtrlWinStrtup list_;
    controls::CLabel count_, advice_, caption_;
    controls::html::CPPHtmlStatic buttonsHint_;
    controls::CXPButton manualFix_, automaticFix_;
    HWND toolTip_ = nullptr;
    int activeCount_ = 0;
    bool loaded_ = false;
    int rememberedRow_ = 0;
    std::optional<engine::TaskSnapshotSubscription> tasksChanged_;
};

}  // namespace views
