#include "history/record_file.h"

#include "platform/text_codec.h"

namespace history {

namespace text = platform::text;

const FieldText& DataFileText() {
    static const FieldText codec{
        [](std::string_view value, std::string* legacy) {
            // Where the manifest is not honoured the program's texts are the legacy ones.
            if (text::AnsiIs(text::LegacyCodePage())) {
                *legacy = std::string(value);
                return true;
            }
            bool lossy = false;
            *legacy = text::Recode(value, text::kAnsi, text::LegacyCodePage(), &lossy);
            return !lossy;
        },
        [](std::string_view legacy) {
            return text::AnsiIs(text::LegacyCodePage())
                       ? std::string(legacy)
                       : text::Recode(legacy, text::LegacyCodePage(), text::kAnsi);
        },
        [](std::string_view value) { return text::Recode(value, text::kAnsi, text::kUtf8); },
        [](std::string_view utf8) { return text::Recode(utf8, text::kUtf8, text::kAnsi); },
        [](unsigned char byte) {
            return ::IsDBCSLeadByteEx(text::LegacyCodePage(), byte) != FALSE;
        }};
    return codec;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// Opens the file itself: a link in its place is refused, never followed to what it names.
HANDLE OpenPlainFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = ::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION information{};
    if (file != INVALID_HANDLE_VALUE &&
        (!::GetFileInformationByHandle(file, &information) ||
         (information.dwFileAttributes &
          (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))) {
        ::CloseHandle(file);
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

}  // namespace

ReadOutcome ReadWholeRecords(const std::string& path, size_t recordSize, std::string& bytes,
                             DWORD* error) {
    // Sharing deletion lets a writer put a new file in this one's place while it is read.
    platform::unique_hfile file(OpenPlainFile(
        path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING));
    if (!file) {
        const DWORD cause = ::GetLastError();
        if (error) {
            *error = cause;
        }
        return cause == ERROR_FILE_NOT_FOUND || cause == ERROR_PATH_NOT_FOUND ? ReadOutcome::Missing
                                                                              : ReadOutcome::Failed;
    }
    std::string data;
    char buffer[64 * 1024];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        data.append(buffer, read);
    }
    data.resize(WholeRecordCount(data.size(), recordSize) * recordSize);
    bytes = std::move(data);
    return ReadOutcome::Read;
}

bool RecordAppender::OpenExisting(const std::string& path, size_t recordSize) {
    file_.reset(OpenPlainFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS));
    LARGE_INTEGER size;
    if (!file_ || !::GetFileSizeEx(file_.get(), &size)) {
        file_.reset();
        return false;
    }
    LARGE_INTEGER whole;
    whole.QuadPart = size.QuadPart - size.QuadPart % static_cast<LONGLONG>(recordSize);
    if (!::SetFilePointerEx(file_.get(), whole, nullptr, FILE_BEGIN) ||
        (whole.QuadPart != size.QuadPart && !::SetEndOfFile(file_.get()))) {
        file_.reset();
        return false;
    }
    return true;
}

bool RecordAppender::CreateNew(const std::string& path, DWORD* error) {
    file_.reset(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_ && error) {
        *error = ::GetLastError();
    }
    return static_cast<bool>(file_);
}

bool RecordAppender::Append(std::string_view record) {
    return file_ && WriteAll(file_.get(), record);
}

bool RecordAppender::Flush() { return file_ && ::FlushFileBuffers(file_.get()); }

bool ReplaceFileContents(const std::string& path, std::string_view contents) {
    const std::string fresh = path + ".new";
    {
        // A new file, never one found under that name: a file someone else made there first
        // would keep its maker's rights once it replaced the old one.
        ::DeleteFileA(fresh.c_str());
        platform::unique_hfile file(::CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteAll(file.get(), contents) || !::FlushFileBuffers(file.get())) {
            file.reset();
            ::DeleteFileA(fresh.c_str());
            return false;
        }
    }
    // A reader that opened the file without sharing its deletion (another program, a virus
    // scanner) holds the name only for a moment.
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExA(fresh.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        if (attempt == 50 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) {
            ::DeleteFileA(fresh.c_str());
            return false;
        }
        ::Sleep(20);
    }
}

}  // namespace history
