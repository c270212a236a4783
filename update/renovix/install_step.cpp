#include "update/renovix/install_step.h"

#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "platform/unique_any.h"
#include "shell/settings_key.h"
#include "update/renovix/archive_entry.h"
#include "update/renovix/signature.h"
#include "update/renovix/update_list.h"
#include "update/renovix/zip_reader.h"

#include "ioapi.h"
#include "iowin32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

#include <shellapi.h>
#include <shlobj.h>

namespace renovix {

namespace {

constexpr wchar_t kListFileName[] = L"updatetmp.tmp";
constexpr wchar_t kProductWindowTitle[] = L"Velbrook";
// The list names a handful of files; anything far longer is not one.
constexpr size_t kMaxListBytes = 1u << 20;
// A Velbrook that does not answer its close request within this time is not waited for.
constexpr UINT kCloseAnswerMs = 5000;

std::wstring ParentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

HMODULE OwnModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::wstring WithBackslash(std::wstring folder) {
    if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/')) {
        folder += L'\\';
    }
    return folder;
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return {};
    }
    std::wstring full(needed, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    full.resize(written < needed ? written : 0);
    return full;
}

// The canonical form of target must lie below the canonical folder.
bool LiesBelow(const std::wstring& target, const std::wstring& folder) {
    const std::wstring base = WithBackslash(FullPath(folder));
    const std::wstring full = FullPath(target);
    return base.size() > 1 && full.size() > base.size() &&
           ::CompareStringOrdinal(full.c_str(), static_cast<int>(base.size()), base.c_str(),
                                  static_cast<int>(base.size()), TRUE) == CSTR_EQUAL;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    const std::wstring fullA = WithBackslash(FullPath(a)), fullB = WithBackslash(FullPath(b));
    return !a.empty() && !b.empty() &&
           ::CompareStringOrdinal(fullA.c_str(), -1, fullB.c_str(), -1, TRUE) == CSTR_EQUAL;
}

void CreateFolders(const std::wstring& folder) {
    ::SHCreateDirectoryExW(nullptr, FullPath(folder).c_str(), nullptr);
}

EntryTimes TimesOf(const ZipEntryInfo& info) {
    FILETIME local{}, utc{};
    EntryTimes times;
    if (::DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &local) &&
        ::LocalFileTimeToFileTime(&local, &utc)) {
        const std::uint64_t value =
            (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
        times = {value, value, value};
    }
    ApplyExtendedTimestamp(info.extraField, times);
    return times;
}

FILETIME FileTimeOf(std::uint64_t value) {
    return {static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

// Writes the current entry to a new file beside target and puts it in target's place only
// when the entry was read whole.
void UnpackFile(const ZipReader& reader, const ZipEntryInfo& info, const std::wstring& target,
                DWORD attributes) {
    const std::wstring partial = target + L".renovix-part";
    {
        platform::unique_hfile file(::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return;
        }
        const auto result = reader.ReadData([&](const char* bytes, size_t size) {
            DWORD written = 0;
            return ::WriteFile(file.get(), bytes, static_cast<DWORD>(size), &written, nullptr) &&
                   written == size;
        });
        if (result != ZipReader::ReadResult::kWhole) {
            file.reset();
            ::DeleteFileW(partial.c_str());
            return;
        }
        const EntryTimes times = TimesOf(info);
        const FILETIME creation = FileTimeOf(times.creation), access = FileTimeOf(times.lastAccess),
                       write = FileTimeOf(times.lastWrite);
        ::SetFileTime(file.get(), &creation, &access, &write);
    }
    // A read-only program file is replaced all the same.
    const DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(target.c_str(), existing & ~FILE_ATTRIBUTE_READONLY);
    }
    if (!::MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(partial.c_str());
        return;
    }
    ::SetFileAttributesW(target.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

void CloseRunningProduct() {
    HWND window = ::FindWindowW(nullptr, kProductWindowTitle);
    if (!window) {
        return;
    }
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(window, WM_CLOSE, 1, 1, SMTO_ABORTIFHUNG, kCloseAnswerMs, &answer);
    ::Sleep(100);
    window = ::FindWindowW(nullptr, kProductWindowTitle);
    if (window) {
        ::SendMessageTimeoutW(window, WM_CLOSE, 1, 1, SMTO_ABORTIFHUNG, kCloseAnswerMs, &answer);
    }
    ::Sleep(100);
}

void InformationBox(const char* text) {
    platform::ShowMessageBox(nullptr, text, "Velbrook", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

InstallOptions DefaultInstallOptions() {
    InstallOptions options;
    wchar_t module[MAX_PATH] = {};
    const DWORD moduleLength = ::GetModuleFileNameW(OwnModule(), module, MAX_PATH);
    if (moduleLength > 0 && moduleLength < MAX_PATH) {
        options.programFolder = ParentOf(module);
    }
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = ::ExpandEnvironmentStringsW(L"%temp%", temp, MAX_PATH);
    if (length > 0 && length <= MAX_PATH) {
        options.tempFolder = temp;
    }
    return options;
}

bool UnpackArchive(const std::wstring& archive, const std::wstring& folder) {
    zlib_filefunc64_def functions{};
    fill_win32_filefunc64W(&functions);
    const auto reader = ZipReader::Open(archive.c_str(), &functions);
    if (!reader) {
        return false;
    }
    const std::wstring base = WithBackslash(folder);
    ZipEntryInfo info;
    for (std::uint64_t i = 0; i < reader->EntryCount() && reader->GoTo(i); ++i) {
        if (!reader->ReadInfo(info)) {
            continue;
        }
        const std::string cleaned = CleanArchiveName(info.storedName);
        const auto relative = RelativeTargetOf(cleaned);
        if (!relative) {
            continue;  // it would land outside the folder, or names no plain file
        }
        const std::wstring target = base + platform::text::WideOfUtf8(*relative);
        if (!LiesBelow(target, base)) {
            continue;
        }
        const DWORD attributes = DecodeAttributes(info.versionMadeBy, info.externalAttributes);
        if (NamesFolder(cleaned) || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            CreateFolders(target);
            continue;
        }
        CreateFolders(ParentOf(target));
        UnpackFile(*reader, info, target, attributes & ~FILE_ATTRIBUTE_DIRECTORY);
    }
    return true;
}

int RunInstallStep(const InstallOptions& options) {
    const std::wstring temp = options.tempFolder;
    ::Sleep(options.waitMs);
    const std::wstring listPath = temp + L"\\" + kListFileName;
    std::string bytes;
    if (!ReadWholeFile(listPath, bytes, kMaxListBytes)) {
        InformationBox("Error in open file");
        return 0;
    }
    const UpdateList list = ParseUpdateList(bytes);
    // The list is written in UTF-8 by the dialog, in Velbrook's process; rundll32 runs in the
    // legacy code page, so the list's own code page must not depend on the process.
    const std::wstring programFolder = platform::text::WideOfUtf8(list.programFolder);
    // The list lies in a folder that every program of the user can write to: it may only
    // install into the folder this library was started from.
    const bool ownFolder = SameFolder(programFolder, options.programFolder);
    for (const ListedFile& file : list.files) {
        // Only a plain name of the temporary folder is a download of ours.
        const auto localName = RelativeTargetOf(file.localName);
        if (!localName || localName->find('\\') != std::string::npos) {
            continue;
        }
        const std::wstring local = temp + L"\\" + platform::text::WideOfUtf8(*localName);
        const std::wstring signature = local + kSignatureSuffix;
        const std::wstring destination =
            platform::text::WideOfUtf8(DestinationOf(list.programFolder, file));
        CloseRunningProduct();
        // The downloads wait in a folder that every program of the user can write to: what
        // is installed must still carry the maker's signature.
        const bool trusted = ownFolder && IsFileSignedByMaker(local, signature);
        if (trusted && file.isArchive) {
            UnpackArchive(local, programFolder);
        } else if (trusted && RelativeTargetOf(file.destination)) {
            ::MoveFileW(local.c_str(), destination.c_str());
        }
        ::DeleteFileW(local.c_str());
        ::DeleteFileW(signature.c_str());
        if (trusted && file.runAfter) {
            ::ShellExecuteW(nullptr, L"open", destination.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    }
    ::DeleteFileW(listPath.c_str());
    shell::WriteSetting("0", "afupsc");
    const std::wstring program = WithBackslash(options.programFolder) + L"Velbrook.exe";
    // Only the program of this folder: the shell would look for a missing one elsewhere.
    const bool present = ::GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES;
    const auto started = present
                             ? reinterpret_cast<INT_PTR>(::ShellExecuteW(
                                   nullptr, L"open", program.c_str(), L"-wnw", nullptr, SW_SHOW))
                             : 0;
    if (started <= 32) {
        InformationBox("Unable to run the program after update. Please restart Velbrook.");
    }
    return 1;
}

}  // namespace renovix
