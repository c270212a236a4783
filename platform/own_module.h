#pragma once
// The module that the calling code is linked into: the program file, or the library (Renovix)
// that carries its own copy of the code. Resources are looked up there, not in the program file
// of the process, which inside a library is somebody else's.

#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace platform {

inline HINSTANCE OwnModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// given when set, else OwnModule().
inline HINSTANCE ResourceModule(HINSTANCE given) { return given ? given : OwnModule(); }

}  // namespace platform
