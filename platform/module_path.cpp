#include "platform/module_path.h"

#include "platform/text_codec.h"

#include <windows.h>

namespace platform {

std::string ProgramFilePath() {
    // The wide call: a path of MAX_PATH characters may take more bytes than that in UTF-8.
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    // A path cut at MAX_PATH is not a usable path.
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return text::Narrow(std::wstring_view(path, length));
}

std::string ProgramFolderWithBackslash() {
    const std::string path = ProgramFilePath();
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace platform
