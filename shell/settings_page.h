#pragma once
// The settings page, the first child of the tab-settings page: one check control per setting,
// whose caption is the name of its value under the settings key, with a label beside it. Save
// writes every row when any differs from what was loaded, then creates or deletes the logon
// task and applies the tray icon setting.

#define IDD_SETTINGS_PAGE 144
#define IDC_SETTINGS_SAVE 1033
#define IDC_SETTINGS_FRAME 1076
#define IDC_SETTINGS_DISABLE_ALL 1101
#define IDC_SETTINGS_ENABLE_ALL 1102
#define IDC_SETTINGS_WARNING 1103
#define IDC_SETTINGS_STARTUPS 1104
#define IDC_SETTINGS_STARTUP_UPDATES 1105
#define IDC_SETTINGS_SYSTRAY 1106
#define IDC_SETTINGS_CHECK1 1107
// "Keep switched-off programs off" (the monitor's KeepOff value).
#define IDC_SETTINGS_KEEP_OFF 1108
// Each row's label: its control's id + 10.
#define IDC_SETTINGS_LABEL_OFFSET 10

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "controls/xp_button.h"

#include <array>
#include <string>

namespace shell {

inline constexpr char kSettingsSavedMessage[] = "Settings has been saved successfully";
inline constexpr char kLogonTaskFailedMessage[] =
    "Settings has been saved, but the task that starts Velbrook at logon could not be changed.";

class CSettingsPage : public controls::DialogImpl<CSettingsPage, controls::CBaseDlg> {
public:
    struct Row {
        UINT control;
        bool initialState;
        // The stored value says the opposite of the label: "strtupdates" 1 turns the check
        // at start-up off (as the check reads it, and as installed versions stored it).
        bool storedInverted = false;
        bool saved = false;
    };

    CSettingsPage();

    static const controls::MessageTable<CSettingsPage>& Messages();

    // The value name of a row: its control's caption.
    std::string ValueName(UINT control) const;
    bool IsChecked(UINT control) const;

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    void OnSave();
    void Load();

    std::array<Row, 8> rows_;
    controls::CXPButton save_;
};

}  // namespace shell
#endif
