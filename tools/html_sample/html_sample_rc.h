#pragma once
// Ids of the sample's resources.
#define IDD_HTML_SAMPLE 100
#define IDC_SAMPLE_HTML 1001
#define IDB_SAMPLE 1
#define IDS_SAMPLE 1
