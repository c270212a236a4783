#include "shell/core/data_folder_rights.h"

#include "platform/unique_any.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace shell {

namespace {

// Administrators and SYSTEM full control, Users read; protected from inherited entries.
constexpr char kFolderRights[] = "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FRFX;;;BU)";
constexpr char kFileRights[] = "O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FRFX;;;BU)";

// Everything that changes a file or folder, its name, its contents or its rights.
constexpr ACCESS_MASK kWriting = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                 FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                                 WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

struct LocalDescriptor {
    PSECURITY_DESCRIPTOR value = nullptr;
    ~LocalDescriptor() { ::LocalFree(value); }
};

bool IsTrusted(PSID sid) {
    return sid && (::IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
                   ::IsWellKnownSid(sid, WinLocalSystemSid));
}

bool LetsOthersWrite(PSID owner, PACL dacl, BOOL daclPresent) {
    if (!IsTrusted(owner) || !daclPresent || !dacl) {
        return true;  // a foreign owner may change the rights; no DACL lets everyone in
    }
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!::GetAce(dacl, i, reinterpret_cast<void**>(&header))) {
            return true;
        }
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            continue;
        }
        const auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        PSID sid = const_cast<DWORD*>(&ace->SidStart);
        if ((ace->Mask & kWriting) && !IsTrusted(sid)) {
            return true;
        }
    }
    return false;
}

bool LetsOthersWrite(HANDLE handle) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    LocalDescriptor descriptor;
    if (::GetSecurityInfo(handle, SE_FILE_OBJECT,
                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                          &dacl, nullptr, &descriptor.value) != ERROR_SUCCESS) {
        return true;
    }
    BOOL present = FALSE, defaulted = FALSE;
    PACL described = nullptr;
    ::GetSecurityDescriptorDacl(descriptor.value, &present, &described, &defaulted);
    return LetsOthersWrite(owner, dacl, present);
}

bool Describe(const char* rights, LocalDescriptor& descriptor) {
    return ::ConvertStringSecurityDescriptorToSecurityDescriptorA(rights, SDDL_REVISION_1,
                                                                  &descriptor.value, nullptr);
}

void TakeBack(HANDLE handle, const std::string& path, const char* rights) {
    LocalDescriptor descriptor;
    if (!Describe(rights, descriptor)) {
        return;
    }
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    PSID owner = nullptr;
    ::GetSecurityDescriptorDacl(descriptor.value, &present, &dacl, &defaulted);
    ::GetSecurityDescriptorOwner(descriptor.value, &owner, &defaulted);
    ::OutputDebugStringA(("Velbrook: taking back " + path + "\n").c_str());
    // The owner alone may fail where the platform keeps no owners; the rights still go on.
    ::SetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, owner, nullptr, nullptr,
                      nullptr);
    ::SetSecurityInfo(handle, SE_FILE_OBJECT,
                      DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                      nullptr, dacl, nullptr);
}

// The file or folder itself, never what a link in its place points at.
platform::unique_hfile OpenOwnRights(const std::string& path) {
    return platform::unique_hfile(::CreateFileA(
        path.c_str(), READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool IsLink(HANDLE handle, bool& folder) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handle, &information)) {
        return true;
    }
    folder = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

bool SecureDataFolder(const std::string& folder) {
    LocalDescriptor descriptor;
    if (!Describe(kFolderRights, descriptor)) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.value, FALSE};
    if (::CreateDirectoryA(folder.c_str(), &attributes)) {
        return true;
    }
    auto existing = OpenOwnRights(folder);
    bool isFolder = false;
    if (existing && IsLink(existing.get(), isFolder)) {
        // A junction made by someone else would lead the data files anywhere.
        existing.reset();
        ::OutputDebugStringA(("Velbrook: removing the link " + folder + "\n").c_str());
        ::RemoveDirectoryA(folder.c_str());
        ::DeleteFileA(folder.c_str());
        return ::CreateDirectoryA(folder.c_str(), &attributes) != FALSE;
    }
    if (!existing || !isFolder) {
        return false;
    }
    if (LetsOthersWrite(existing.get())) {
        TakeBack(existing.get(), folder, kFolderRights);
    }
    return true;
}

void SecureDataFile(const std::string& file) {
    auto existing = OpenOwnRights(file);
    bool isFolder = false;
    if (!existing) {
        return;
    }
    if (IsLink(existing.get(), isFolder)) {
        existing.reset();
        ::OutputDebugStringA(("Velbrook: removing the link " + file + "\n").c_str());
        ::RemoveDirectoryA(file.c_str());
        ::DeleteFileA(file.c_str());
        return;
    }
    if (LetsOthersWrite(existing.get())) {
        TakeBack(existing.get(), file, isFolder ? kFolderRights : kFileRights);
    }
}

}  // namespace shell
