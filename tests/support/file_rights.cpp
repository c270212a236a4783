#include "tests/support/file_rights.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace testing_support {

bool UsersMayWrite(const std::string& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return true;
    }
    bool found = !dacl;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (::GetAce(dacl, i, reinterpret_cast<void**>(&ace)) &&
            ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            (ace->Mask & (FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | GENERIC_ALL))) {
            PSID sid = &ace->SidStart;
            found |= ::IsWellKnownSid(sid, WinWorldSid) ||
                     ::IsWellKnownSid(sid, WinBuiltinUsersSid) ||
                     ::IsWellKnownSid(sid, WinAuthenticatedUserSid);
        }
    }
    ::LocalFree(descriptor);
    return found;
}

void GiveToEveryone(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "O:BUD:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr)) {
        return;
    }
    ::SetFileSecurityA(path.c_str(), OWNER_SECURITY_INFORMATION, descriptor);
    ::SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    ::LocalFree(descriptor);
}

}  // namespace testing_support
