#include "shell/settings_page.h"

#include "engine/product_name.h"
#include "platform/message_box.h"
#include "res/art_ids.h"
#include "shell/logon_task.h"
#include "controls/page_host.h"
#include "shell/core/settings_key.h"

namespace shell {

namespace {

constexpr COLORREF kBackground = RGB(240, 240, 240);

}  // namespace

CSettingsPage::CSettingsPage()
    : DialogImpl(IDD_SETTINGS_PAGE, kBackground),
      rows_{{{IDC_SETTINGS_DISABLE_ALL, false},
             {IDC_SETTINGS_ENABLE_ALL, true},
             {IDC_SETTINGS_WARNING, true},
             {IDC_SETTINGS_STARTUPS, true},
             {IDC_SETTINGS_STARTUP_UPDATES, true, true},
             {IDC_SETTINGS_SYSTRAY, true},
             {IDC_SETTINGS_CHECK1, true},
             {IDC_SETTINGS_KEEP_OFF, false}}} {}

const controls::MessageTable<CSettingsPage>& CSettingsPage::Messages() {
    static const controls::MessageTable<CSettingsPage> table = {
        controls::OnMessage(WM_INITDIALOG, &CSettingsPage::OnInitDialog),
        controls::OnCommand(IDC_SETTINGS_SAVE, &CSettingsPage::OnSave),
    };
    return table;
}

std::string CSettingsPage::ValueName(UINT control) const {
    char caption[256] = "";
    ::GetWindowTextA(Item(control), caption, sizeof caption);
    return caption;
}

bool CSettingsPage::IsChecked(UINT control) const {
    return ::SendMessageA(Item(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

LRESULT CSettingsPage::OnInitDialog(WPARAM, LPARAM) {
    save_.SubclassDlgItem(IDC_SETTINGS_SAVE, hwnd());
    save_.SetBitmaps(art::kSave);
    Anchor(IDC_SETTINGS_FRAME, controls::kStretchWidth | controls::kStretchHeight);
    Anchor(IDC_SETTINGS_SAVE, controls::kMoveWithRight | controls::kMoveWithBottom);
    for (Row& row : rows_) {
        ::SendMessageA(Item(row.control), BM_SETCHECK,
                       row.initialState ? BST_CHECKED : BST_UNCHECKED, 0);
        row.saved = row.initialState;
    }
    Load();
    return TRUE;
}

void CSettingsPage::Load() {
    for (Row& row : rows_) {
        const bool checked = IsChecked(row.control);
        // An inverted value means "off" only when it is 1, as its reader takes it.
        const bool on = row.storedInverted
                            ? ReadSetting(ValueName(row.control), checked ? 0 : 1) != 1
                            : ReadSetting(ValueName(row.control), checked ? 1 : 0) != 0;
        ::SendMessageA(Item(row.control), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        row.saved = on;
    }
}

void CSettingsPage::OnSave() {
    bool changed = false;
    for (const Row& row : rows_) {
        changed = changed || IsChecked(row.control) != row.saved;
    }
    if (!changed) {
        return;
    }
    // What is written becomes what the next save compares against: a box ticked again after
    // a save is a change of its own.
    for (Row& row : rows_) {
        row.saved = IsChecked(row.control);
        WriteSetting(row.saved != row.storedInverted ? "1" : "0", ValueName(row.control));
    }
    const bool taskDone = ApplyLogonTask(IsChecked(IDC_SETTINGS_STARTUPS));
    if (controls::PageHost* host = controls::CurrentPageHost()) {
        host->ApplyTraySetting();
    }
    platform::ShowMessageBox(hwnd(), taskDone ? kSettingsSavedMessage : kLogonTaskFailedMessage,
                             engine::ProductName, MB_OK);
}

}  // namespace shell
