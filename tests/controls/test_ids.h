#pragma once
// Ids of the minimal templates and resources of tests/controls/controls_test.rc.

#define IDD_DRIVEN 5000
#define IDC_GO 5001
#define IDC_STATUS 5002
#define IDC_ASK 5003
#define IDC_RIGHT_BUTTON 5010
#define IDC_STRETCHED 5011
#define IDC_BOTTOM_LABEL 5012

#define IDD_LIST 5100
#define IDC_LIST 5101

#define IDD_CONTROLS 5200
#define IDC_LABEL 5201
#define IDC_XPBUTTON 5202
#define IDC_PICTURE 5203
#define IDC_LINKBUTTON 5204

#define IDR_THREE_FRAMES 3001
#define IDR_STILL_PICTURE 3002
