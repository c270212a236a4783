#pragma once
// Ids of the test-only templates of tests/shell/shell_test.rc.

#define IDD_TEST_INNER 5900
