#pragma once
// The pointing-hand cursor of links.

#include <windows.h>

namespace controls {

// Cursor 106 of winhlp32.exe in the Windows folder, copied so the module can be freed; the
// standard hand (or arrow) when it can't be loaded. Loaded once; owned by the program.
HCURSOR HandCursor();

}  // namespace controls
