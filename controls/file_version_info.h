#pragma once
// The version resource of a program file: its fixed information and nine standard strings,
// read in the language the translation table offers for the user.

#include "controls/text.h"

#include <array>

namespace controls {

class CFileVersionInfo {
public:
    enum StringId {
        kCompanyName,
        kFileDescription,
        kFileVersion,
        kInternalName,
        kLegalCopyright,
        kOriginalFileName,
        kProductName,
        kProductVersion,
        kComments,
        kStringCount
    };

    // False when the file has no version resource; everything is empty then.
    bool Read(const tstring& path) { return Read(path, ::GetUserDefaultLangID()); }
    bool Read(const tstring& path, LANGID userLanguage);

    const VS_FIXEDFILEINFO& fixedInfo() const { return fixed_; }
    const tstring& String(StringId id) const { return strings_[id]; }
    const tstring& companyName() const { return strings_[kCompanyName]; }
    const tstring& fileDescription() const { return strings_[kFileDescription]; }
    // The language/code page the strings were read in (0 when none).
    DWORD translation() const { return translation_; }

private:
    void Clear();

    VS_FIXEDFILEINFO fixed_{};
    std::array<tstring, kStringCount> strings_;
    DWORD translation_ = 0;
};

}  // namespace controls
