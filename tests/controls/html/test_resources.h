#pragma once
// Ids of the test resources.
#define IDD_HTML_TEST 100
#define IDC_HTML_STATIC 1001
#define IDB_HTML_SAMPLE 1
#define IDS_HTML_SAMPLE 1
