#include "platform/current_user.h"

#include "platform/unique_any.h"

#include <windows.h>
#include <lmcons.h>
#include <sddl.h>

#include <vector>

namespace platform {

std::string CurrentUserName() {
    char name[UNLEN + 1] = {};
    DWORD size = sizeof name;
    return ::GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string CurrentUserSid() {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return {};
    }
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    unique_local_text text;
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) ||
        !::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid,
                                  text.put())) {
        return {};
    }
    return text.get();
}

}  // namespace platform
