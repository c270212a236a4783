#include "cleanup/automatic_fix_opener.h"

namespace cleanup {

// The dialog is not built yet: nothing is shown.
INT_PTR OpenAutomaticFix(HWND) { return IDCANCEL; }

}  // namespace cleanup
