#pragma once
// The Manual Fix page's template and control ids (shared by its .rc and its class).

#define IDD_MANUL_STARTUPS 140
#define IDC_MANUL_LOGO 1019
#define IDC_MANUL_TITLE 1008
#define IDC_MANUL_HINT 1045
#define IDC_MANUL_FILTER 1097
#define IDC_MANUL_LIST 1016
#define IDC_MANUL_NOT_SURE 1043
#define IDC_MANUL_AUTOMATIC_FIX 1059
#define IDC_MANUL_PROGRAM_ICON 1020
#define IDC_MANUL_PROGRAM_NAME 1015
#define IDC_MANUL_COMPANY 1039
#define IDC_MANUL_SAVE 1
#define IDC_MANUL_CANCEL 2
#define IDC_MANUL_QUIET_SAVE 1018
