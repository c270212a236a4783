#pragma once
// The Windows startups page's template and control ids (shared by its .rc and its class).

#define IDD_WND_STARTUPS 131
#define IDC_WND_LOGO 1019
#define IDC_WND_COUNT 1015
#define IDC_WND_ADVICE 1039
#define IDC_WND_LIST 1016
#define IDC_WND_BUTTONS_HINT 1043
#define IDC_WND_MANUAL_FIX 1018
#define IDC_WND_AUTOMATIC_FIX 1017
#define IDC_WND_CAPTION 1008
#define IDC_WND_ICON 1020
