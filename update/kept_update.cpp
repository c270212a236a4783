#include "update/kept_update.h"

#include "platform/text_codec.h"
#include "shell/core/data_path.h"

#include <windows.h>

namespace update {

namespace {
constexpr char kFolderName[] = "update";
}  // namespace

std::string KeptUpdateFolder() { return shell::PrepareDataSubfolder(kFolderName); }

bool KeptUpdateWaits() {
    const std::wstring list =
        platform::text::Wide(shell::DataPath(kFolderName)) + L"\\" + kUpdateListName;
    const DWORD attributes = ::GetFileAttributesW(list.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace update
