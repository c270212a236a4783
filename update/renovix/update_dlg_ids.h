#pragma once
// The update dialog's template and control ids.

#define IDD_UPDATE 14000
#define IDC_UPDATE_STATUS 14000
#define IDC_UPDATE_PICTURE 14001
#define IDC_UPDATE_THANKS 14003
#define IDC_UPDATE_CLOSE 1
#define IDC_UPDATE_OK 1091
