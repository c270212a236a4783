#include "update/renovix/install_step.h"

#include "platform/file_search.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "platform/unique_any.h"
#include "shell/core/main_window_finder.h"
#include "shell/core/settings_key.h"
#include "update/kept_update.h"
#include "update/program_version.h"
#include "update/renovix/archive_entry.h"
#include "update/renovix/release_statement.h"
#include "update/renovix/signature.h"
#include "update/renovix/update_list.h"
#include "update/renovix/zip_reader.h"
#include "update/version_compare.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

#include <shellapi.h>
#include <shlobj.h>

namespace renovix {

namespace {

// The list names a handful of files; anything far longer is not one.
constexpr size_t kMaxListBytes = 1u << 20;
// A Velbrook that does not answer its close request within this time is not waited for.
constexpr UINT kCloseAnswerMs = 5000;
constexpr char kUpdateFailed[] =
    "The update could not be completed: some of its files were refused or are in use. Please "
    "check for updates again after Velbrook has restarted.";
constexpr char kUpdateWaits[] =
    "The update could not be completed: some of its files are in use. It has been kept, and "
    "Velbrook will offer to finish it the next time it starts.";

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

// Both paths canonical: full lies below the folder base.
bool TextLiesBelow(const std::wstring& full, const std::wstring& folder) {
    const std::wstring base = WithBackslash(folder);
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

bool WriteAll(HANDLE file, const char* bytes, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

enum class Placed { kPlaced, kExists, kBroken, kInUse };

// Writes a new file beside target (created there, so it takes the rights of target's folder,
// not those of the temporary folder) and puts it in target's place only when it was written
// whole. Without replace an existing target stays.
Placed PlaceFile(const std::wstring& target, const std::function<bool(HANDLE file)>& write,
                 bool replace) {
    const std::wstring partial = target + L".renovix-part";
    ::DeleteFileW(partial.c_str());
    {
        platform::unique_hfile file(::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return Placed::kBroken;
        }
        if (!write(file.get())) {
            file.reset();
            ::DeleteFileW(partial.c_str());
            return Placed::kBroken;
        }
    }
    if (replace) {
        // A read-only program file is replaced all the same.
        const DWORD existing = ::GetFileAttributesW(target.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
            ::SetFileAttributesW(target.c_str(), existing & ~FILE_ATTRIBUTE_READONLY);
        }
    }
    if (::MoveFileExW(partial.c_str(), target.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
        return Placed::kPlaced;
    }
    const DWORD error = ::GetLastError();
    ::DeleteFileW(partial.c_str());
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        return replace ? Placed::kInUse : Placed::kExists;
    }
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                   error == ERROR_LOCK_VIOLATION
               ? Placed::kInUse
               : Placed::kBroken;
}

// What one run of the step has installed, and what it could not.
struct Outcome {
    std::vector<std::wstring> installed;  // canonical paths
    InstallReport report;
};

// Unpacks the archive's bytes into folder: every entry whose cleaned name resolves below it,
// each replacing its target only when it was read whole with a matching CRC-32.
void UnpackArchive(std::string_view archive, const std::wstring& folder, Outcome& outcome) {
    const auto reader = ZipReader::OpenMemory(archive);
    if (!reader) {
        return;
    }
    ZipEntryInfo info;
    for (std::uint64_t i = 0; i < reader->EntryCount() && reader->GoTo(i); ++i) {
        if (!reader->ReadInfo(info)) {
            continue;
        }
        const std::string cleaned = CleanArchiveName(info.storedName);
        const auto relative = RelativeTargetOf(cleaned);
        if (!relative) {
            continue;  // names no plain file below the folder
        }
        const auto target = ResolvedBelow(folder, platform::text::WideOfUtf8(*relative));
        if (!target) {
            outcome.report.refused.push_back(platform::text::WideOfUtf8(*relative));
            continue;
        }
        const DWORD attributes = DecodeAttributes(info.versionMadeBy, info.externalAttributes);
        if (NamesFolder(cleaned) || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            CreateFolders(*target);
            continue;
        }
        CreateFolders(ParentOf(*target));
        const Placed placed = PlaceFile(
            *target,
            [&](HANDLE file) {
                if (reader->ReadData([&](const char* bytes, size_t size) {
                        return WriteAll(file, bytes, size);
                    }) != ZipReader::ReadResult::kWhole) {
                    return false;
                }
                const EntryTimes times = TimesOf(info);
                const FILETIME creation = FileTimeOf(times.creation),
                               access = FileTimeOf(times.lastAccess),
                               write = FileTimeOf(times.lastWrite);
                ::SetFileTime(file, &creation, &access, &write);
                return true;
            },
            true);
        if (placed == Placed::kPlaced) {
            const DWORD kept = attributes & ~FILE_ATTRIBUTE_DIRECTORY;
            ::SetFileAttributesW(target->c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
            outcome.installed.push_back(*target);
        } else if (placed == Placed::kInUse) {
            outcome.report.failed.push_back(*target);
        }
    }
}

// Asks the running main window (not an alert or a message box of the same title) to exit.
void CloseRunningProduct() {
    HWND window = shell::FindRunningMainWindow();
    if (!window) {
        return;
    }
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(window, WM_CLOSE, 1, 1, SMTO_ABORTIFHUNG, kCloseAnswerMs, &answer);
    ::Sleep(100);
    window = shell::FindRunningMainWindow();
    if (window) {
        ::SendMessageTimeoutW(window, WM_CLOSE, 1, 1, SMTO_ABORTIFHUNG, kCloseAnswerMs, &answer);
    }
    ::Sleep(100);
}

void InformationBox(const char* text) {
    platform::ShowMessageBox(nullptr, text, "Velbrook", MB_OK | MB_ICONINFORMATION);
}

// A signed release statement and the bytes it was read from.
struct CheckedStatement {
    ReleaseStatement statement;
    std::string bytes, signature;
};

// The statement the download job kept beside the list, when its signature is the maker's and it
// offers a release newer than the program in folder: lists and downloads are checked against it.
std::optional<CheckedStatement> TrustedStatement(const std::wstring& temp,
                                                 const std::wstring& folder) {
    const std::wstring path = temp + L"\\" + kStatementTempName;
    CheckedStatement checked;
    if (!ReadWholeFile(path + kSignatureSuffix, checked.signature, kSignatureBytes) ||
        !ReadWholeFile(path, checked.bytes, kMaxStatementBytes) ||
        !IsSignedByMaker(checked.bytes, checked.signature)) {
        return std::nullopt;
    }
    auto statement = ParseReleaseStatement(checked.bytes);
    const std::string own =
        update::FileVersionText(platform::text::Narrow(WithBackslash(folder) + L"Velbrook.exe"));
    if (!statement || statement->product != kStatementProduct ||
        !update::IsNewerVersion(own, statement->version)) {
        return std::nullopt;
    }
    checked.statement = std::move(*statement);
    return checked;
}

// The statement's entry for a list line: the same destination and kind, and the digest of data.
bool StatementCovers(const std::optional<CheckedStatement>& statement, const ListedFile& file,
                     std::string_view data) {
    if (!statement) {
        return false;
    }
    const std::string digest = Sha512Hex(data);
    for (const auto& stated : statement->statement.files) {
        if (stated.destination == file.destination && stated.isArchive == file.isArchive &&
            stated.digest == digest) {
            return true;
        }
    }
    return false;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file made anew (never one that someone else made first) holding bytes.
bool WriteNewFile(const std::wstring& path, std::string_view bytes) {
    ::DeleteFileW(path.c_str());
    platform::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), bytes.data(), bytes.size());
}

// A download that could not go in whole, as it was checked.
struct KeptDownload {
    std::wstring name;
    std::string data, signature;
};

void DeleteFilesIn(const std::wstring& folder) {
    platform::FileSearch search(platform::text::Narrow(folder + L"\\*"));
    while (search.Next()) {
        if (!search.IsDirectory()) {
            ::DeleteFileW((folder + L"\\" + platform::text::Wide(search.Name())).c_str());
        }
    }
}

// Replaces whatever waits in the kept update's folder by these downloads, the statement and the
// list naming them: exactly the bytes this run checked, not the files in the temporary folder.
bool KeepForTheNextStart(const std::wstring& folder, const std::vector<KeptDownload>& downloads,
                         const CheckedStatement& statement, const std::string& list) {
    DeleteFilesIn(folder);
    bool whole = true;
    for (const KeptDownload& download : downloads) {
        whole = whole && WriteNewFile(folder + L"\\" + download.name, download.data) &&
                WriteNewFile(folder + L"\\" + download.name + kSignatureSuffix, download.signature);
    }
    const std::wstring statementPath = folder + L"\\" + kStatementTempName;
    // The list last: without it nothing is offered at the next start.
    return whole && WriteNewFile(statementPath, statement.bytes) &&
           WriteNewFile(statementPath + kSignatureSuffix, statement.signature) &&
           WriteNewFile(folder + L"\\" + update::kUpdateListName, list);
}

bool IsReparsePoint(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

std::optional<std::wstring> ResolvedBelow(const std::wstring& folder, const std::wstring& name) {
    const std::wstring base = FullPath(folder);
    const std::wstring full = FullPath(WithBackslash(base) + name);
    if (base.empty() || !TextLiesBelow(full, base)) {
        return std::nullopt;
    }
    // A junction or link on the way (or the target itself) may lead anywhere: none is followed.
    for (size_t at = WithBackslash(base).size(); at <= full.size();) {
        size_t end = full.find(L'\\', at);
        if (end == std::wstring::npos) {
            end = full.size();
        }
        if (IsReparsePoint(full.substr(0, end))) {
            return std::nullopt;
        }
        at = end + 1;
    }
    return full;
}

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
    const std::string kept = update::KeptUpdateFolder();
    if (!kept.empty()) {
        options.keptFolder = platform::text::Wide(kept);
    }
    return options;
}

int RunInstallStep(const InstallOptions& options, InstallReport* report) {
    ::Sleep(options.waitMs);
    // A fresh download in the temporary folder comes first; else an update kept by an earlier
    // run, which is checked again like a fresh one.
    const bool fromKept = !options.keptFolder.empty() &&
                          !IsFile(options.tempFolder + L"\\" + update::kUpdateListName) &&
                          IsFile(options.keptFolder + L"\\" + update::kUpdateListName);
    const std::wstring temp = fromKept ? options.keptFolder : options.tempFolder;
    const std::wstring listPath = temp + L"\\" + update::kUpdateListName;
    std::string bytes;
    if (!ReadWholeFile(listPath, bytes, kMaxListBytes)) {
        InformationBox("Error in open file");
        return 0;
    }
    const UpdateList list = ParseUpdateList(bytes);
    const std::wstring programFolder = FullPath(options.programFolder);
    // The list lies in a folder that every program of the user can write to: it may only
    // install into the folder this library was started from.
    const bool ownFolder =
        SameFolder(platform::text::WideOfUtf8(list.programFolder), programFolder);
    const auto statement = TrustedStatement(temp, programFolder);
    Outcome outcome;
    std::vector<std::string> keptLines;
    std::vector<KeptDownload> kept;
    for (const ListedFile& file : list.files) {
        // Only a plain name of the temporary folder is a download of ours.
        const auto localName = RelativeTargetOf(file.localName);
        if (!localName || localName->find('\\') != std::string::npos) {
            continue;
        }
        const std::wstring local = temp + L"\\" + platform::text::WideOfUtf8(*localName);
        const std::wstring signaturePath = local + kSignatureSuffix;
        const auto relative = RelativeTargetOf(file.destination);
        const auto destination =
            relative ? ResolvedBelow(programFolder, platform::text::WideOfUtf8(*relative))
                     : std::nullopt;
        CloseRunningProduct();
        // The downloads wait in a folder that every program of the user can write to: the
        // download is read once through a handle that lets nobody write it, and what is
        // installed are the bytes whose signature was checked.
        std::string data, signature;
        platform::unique_hfile held;
        const bool trusted =
            ownFolder && ReadWholeFile(signaturePath, signature, kSignatureBytes) &&
            ReadWholeFile(local, data, kMaxDownloadBytes, &held) &&
            IsSignedByMaker(data, signature) && StatementCovers(statement, file, data);
        const size_t failedBefore = outcome.report.failed.size();
        if (!trusted || (!file.isArchive && !destination)) {
            outcome.report.refused.push_back(
                destination ? *destination : platform::text::WideOfUtf8(file.destination));
        } else {
            if (options.afterCheck) {
                options.afterCheck(local);
            }
            if (file.isArchive) {
                UnpackArchive(data, programFolder, outcome);
            } else {
                const Placed placed = PlaceFile(
                    *destination,
                    [&](HANDLE out) { return WriteAll(out, data.data(), data.size()); }, false);
                if (placed == Placed::kPlaced) {
                    outcome.installed.push_back(*destination);
                }
            }
        }
        held.reset();
        if (outcome.report.failed.size() > failedBefore) {
            keptLines.push_back(file.line);  // its download is kept for the next run
            kept.push_back(
                {platform::text::WideOfUtf8(*localName), std::move(data), std::move(signature)});
        }
        if (!fromKept || outcome.report.failed.size() == failedBefore) {
            ::DeleteFileW(local.c_str());
            ::DeleteFileW(signaturePath.c_str());
        }
    }
    const std::string keptList = FormatUpdateList(list.programFolder, keptLines);
    bool keptForNextStart = false;
    if (fromKept && !keptLines.empty()) {
        keptForNextStart = WriteNewFile(listPath, keptList);
    } else {
        ::DeleteFileW(listPath.c_str());
        const std::wstring statementPath = temp + L"\\" + kStatementTempName;
        ::DeleteFileW(statementPath.c_str());
        ::DeleteFileW((statementPath + kSignatureSuffix).c_str());
        // A fresh signed update supersedes one kept before, whether it went in whole or not
        // (a list without a statement, which anyone could leave in the temporary folder, does
        // not).
        if (!fromKept && !options.keptFolder.empty() && statement) {
            if (keptLines.empty()) {
                DeleteFilesIn(options.keptFolder);
            } else {
                // Only a download the statement covers can fail to go in.
                keptForNextStart =
                    KeepForTheNextStart(options.keptFolder, kept, *statement, keptList);
            }
        }
    }
    shell::WriteSetting("0", "afupsc");
    if (!outcome.report.refused.empty()) {
        InformationBox(kUpdateFailed);
    } else if (!outcome.report.failed.empty()) {
        InformationBox(keptForNextStart ? kUpdateWaits : kUpdateFailed);
    }
    if (report) {
        *report = outcome.report;
    }
    const std::wstring program = WithBackslash(programFolder) + L"Velbrook.exe";
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
