#pragma once
// The controls build twice from the same sources: with 8-bit texts in the ANSI code page
// (Velbrook) and, with UNICODE/_UNICODE defined, with UTF-16 texts (Renovix).

#include <windows.h>
#include <tchar.h>

#include <string>

namespace controls {

using tstring = std::basic_string<TCHAR>;

// The text of any window (control or dialog).
tstring WindowText(HWND window);

}  // namespace controls
