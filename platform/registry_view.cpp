#include "platform/registry_view.h"

#include <vector>

namespace platform {

bool IsWindows64Bit() {
    if constexpr (IsProcess64Bit()) {
        return true;
    }
    static const bool wow64 = [] {
        BOOL underWow64 = FALSE;
        return ::IsWow64Process(::GetCurrentProcess(), &underWow64) && underWow64;
    }();
    return wow64;
}

}  // namespace platform

namespace platform::reg {

REGSAM ViewFlag(View view) {
    if (!IsWindows64Bit()) {
        return 0;
    }
    return view == View::Native ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

LSTATUS OpenKeyIn(View view, HKEY parent, const std::string& path, REGSAM access,
                  unique_hkey& out) {
    return OpenKey(parent, path, access | ViewFlag(view), out);
}

LSTATUS CreateKeyIn(View view, HKEY parent, const std::string& path, REGSAM access,
                    unique_hkey& out, bool* created) {
    return CreateKey(parent, path, access | ViewFlag(view), out, created);
}

LSTATUS DeleteTreeIn(View view, HKEY parent, const std::string& subkey) {
    {
        unique_hkey key;
        LSTATUS status =
            OpenKeyIn(view, parent, subkey,
                      KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | DELETE, key);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        std::vector<std::string> children;
        std::string child;
        for (DWORD index = 0; EnumSubkey(key.get(), index, child) == ERROR_SUCCESS; ++index) {
            children.push_back(child);
        }
        for (const auto& name : children) {
            if ((status = DeleteTreeIn(view, key.get(), name)) != ERROR_SUCCESS) {
                return status;
            }
        }
        Value value;
        while (EnumValue(key.get(), 0, value) == ERROR_SUCCESS) {
            if ((status = DeleteValue(key.get(), value.name)) != ERROR_SUCCESS) {
                return status;
            }
        }
    }
    return ::RegDeleteKeyExA(parent, subkey.c_str(), ViewFlag(view), 0);
}

}  // namespace platform::reg
