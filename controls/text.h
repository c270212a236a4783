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

// A text for the wide GDI text functions. GDI's 8-bit ones convert with the code page of the
// font's character set, not with the process's (UTF-8 under Velbrook's manifest), so every
// text a control draws itself goes through the wide ones.
std::wstring GdiText(const tstring& text);

}  // namespace controls
