#pragma once
// The one way to the keys that 64-bit Windows keeps twice: HKLM\Software has a copy for
// 32-bit programs (Software\Wow6432Node), and a 32-bit process that asks for no view is sent
// there. Every key below a view must be opened with that view's flag as well, so every open,
// create and delete of such a key goes through here.

#include "platform/registry.h"

namespace platform {

// True for a 64-bit process, and for a 32-bit one running under WOW64.
bool IsWindows64Bit();
constexpr bool IsProcess64Bit() { return sizeof(void*) == 8; }

}  // namespace platform

namespace platform::reg {

enum class View {
    // The machine's own keys: the 64-bit view on 64-bit Windows, the one the system
    // configuration tool uses. The 32-bit programs' copy is reached from here by its real
    // path (Software\Wow6432Node\...), and text written there is never rewritten.
    Native,
    // The 32-bit programs' copy, by the path those programs use.
    Wow32,
};

// KEY_WOW64_64KEY or KEY_WOW64_32KEY on 64-bit Windows; nothing on 32-bit Windows.
REGSAM ViewFlag(View view);

LSTATUS OpenKeyIn(View view, HKEY parent, const std::string& path, REGSAM access, unique_hkey& out);
LSTATUS CreateKeyIn(View view, HKEY parent, const std::string& path, REGSAM access,
                    unique_hkey& out, bool* created = nullptr);
// The key and everything below it, key by key in the view (RegDeleteTree would open the
// keys below without the view's flag).
LSTATUS DeleteTreeIn(View view, HKEY parent, const std::string& subkey);

}  // namespace platform::reg
