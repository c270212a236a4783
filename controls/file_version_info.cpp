#include "controls/file_version_info.h"

#include "controls/translation_choice.h"

#include <cstring>
#include <vector>

namespace controls {

namespace {
const TCHAR* const kStringNames[CFileVersionInfo::kStringCount] = {
    TEXT("CompanyName"),  TEXT("FileDescription"), TEXT("FileVersion"),
    TEXT("InternalName"), TEXT("LegalCopyright"),  TEXT("OriginalFileName"),
    TEXT("ProductName"),  TEXT("ProductVersion"),  TEXT("Comments"),
};
}  // namespace

void CFileVersionInfo::Clear() {
    fixed_ = VS_FIXEDFILEINFO{};
    for (auto& s : strings_) {
        s.clear();
    }
    translation_ = 0;
}

bool CFileVersionInfo::Read(const tstring& path, LANGID userLanguage) {
    Clear();
    DWORD ignored = 0;
    const DWORD length = ::GetFileVersionInfoSize(path.c_str(), &ignored);
    if (length == 0) {
        return false;
    }
    std::vector<BYTE> block(length);
    if (!::GetFileVersionInfo(path.c_str(), 0, length, block.data())) {
        return false;
    }
    void* value = nullptr;
    UINT valueLength = 0;
    if (::VerQueryValue(block.data(), TEXT("\\"), &value, &valueLength) &&
        valueLength == sizeof(VS_FIXEDFILEINFO)) {
        std::memcpy(&fixed_, value, sizeof fixed_);
    }
    std::vector<Translation> table;
    if (::VerQueryValue(block.data(), TEXT("\\VarFileInfo\\Translation"), &value, &valueLength)) {
        table.resize(valueLength / sizeof(Translation));
        std::memcpy(table.data(), value, table.size() * sizeof(Translation));
    }
    const int chosen = ChooseTranslation(table, userLanguage);
    if (chosen < 0) {
        return true;
    }
    const Translation pair = table[static_cast<size_t>(chosen)];
    translation_ = MAKELONG(pair.codePage, pair.language);
    for (int i = 0; i < kStringCount; ++i) {
        TCHAR query[96];
        ::wsprintf(query, TEXT("\\StringFileInfo\\%04X%04X\\%s"), pair.language, pair.codePage,
                   kStringNames[i]);
        if (::VerQueryValue(block.data(), query, &value, &valueLength) && valueLength > 0) {
            strings_[i] = static_cast<const TCHAR*>(value);
        }
    }
    return true;
}

}  // namespace controls
