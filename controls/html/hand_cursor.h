#pragma once
// The hand cursor shown over links: cursor 106 of winhlp32.exe in the Windows folder.

#include "platform/unique_any.h"

namespace controls::html {

// A copy of the cursor, or nothing when it cannot be loaded (the normal cursor then stays).
platform::unique_hcursor LoadHandCursor();

}  // namespace controls::html
