#include "controls/file_version_info.h"

#include "controls/translation_choice.h"

#include "platform/text_codec.h"
#include "platform/unique_any.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

namespace controls {

namespace {
const wchar_t* const kStringNames[CFileVersionInfo::kStringCount] = {
    L"CompanyName",      L"FileDescription", L"FileVersion",    L"InternalName", L"LegalCopyright",
    L"OriginalFileName", L"ProductName",     L"ProductVersion", L"Comments",
};

tstring FromWide(const wchar_t* text) {
#ifdef UNICODE
    return text;
#else
    return platform::text::Narrow(std::wstring_view(text));
#endif
}
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
    // The file is mapped once and its resource read in place: GetFileVersionInfoSize and
    // GetFileVersionInfo would map it once each, which the publisher column pays per file.
    const platform::unique_hmodule file(::LoadLibraryEx(
        path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    const HRSRC resource =
        file ? ::FindResource(file.get(), MAKEINTRESOURCE(VS_VERSION_INFO), RT_VERSION) : nullptr;
    const HGLOBAL loaded = resource ? ::LoadResource(file.get(), resource) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    const DWORD length = resource ? ::SizeofResource(file.get(), resource) : 0;
    if (!data || length == 0) {
        return false;
    }
    // The wide queries read a copy of the resource as it is (the 8-bit ones would need the
    // room GetFileVersionInfo adds for their conversions).
    const std::vector<BYTE> block(data, data + length);
    void* value = nullptr;
    UINT valueLength = 0;
    if (::VerQueryValueW(block.data(), L"\\", &value, &valueLength) &&
        valueLength == sizeof(VS_FIXEDFILEINFO)) {
        std::memcpy(&fixed_, value, sizeof fixed_);
    }
    std::vector<Translation> table;
    if (::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &valueLength)) {
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
        wchar_t query[96];
        ::swprintf(query, std::size(query), L"\\StringFileInfo\\%04X%04X\\%ls", pair.language,
                   pair.codePage, kStringNames[i]);
        if (::VerQueryValueW(block.data(), query, &value, &valueLength) && valueLength > 0) {
            strings_[i] = FromWide(static_cast<const wchar_t*>(value));
        }
    }
    return true;
}

}  // namespace controls
