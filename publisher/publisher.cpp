#include "publisher/publisher.h"

#include "controls/file_version_info.h"
#include "platform/text_codec.h"
#include "platform/unique_any.h"
#include "publisher/machine_lookups.h"

#include <map>
#include <mutex>
#include <tuple>

namespace publisher {
namespace {

struct FileKey {
    std::wstring path;  // upper case: Windows paths ignore case
    ULONGLONG size = 0;
    ULONGLONG lastWrite = 0;
    bool operator<(const FileKey& other) const {
        return std::tie(path, size, lastWrite) < std::tie(other.path, other.size, other.lastWrite);
    }
};

class PublisherCache {
public:
    bool Find(const FileKey& key, Publisher& found) const {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = answers_.find(key);
        if (it == answers_.end()) {
            return false;
        }
        found = it->second;
        return true;
    }
    void Keep(FileKey key, const Publisher& answer) {
        std::lock_guard<std::mutex> lock(mutex_);
        answers_.insert_or_assign(std::move(key), answer);
    }

private:
    mutable std::mutex mutex_;
    std::map<FileKey, Publisher> answers_;
};

PublisherCache& Cache() {
    static PublisherCache cache;
    return cache;
}

std::wstring UpperPath(std::wstring path) {
    ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

ULONGLONG Join(DWORD high, DWORD low) { return (static_cast<ULONGLONG>(high) << 32) | low; }

}  // namespace

ProgramFile ProgramOfStartupCommand(const std::string& command) {
    static const MachineLookups lookups;
    return ProgramOfCommand(command, lookups);
}

Publisher PublisherOfCommand(const std::string& command) {
    static const MachineLookups lookups;
    return PublisherOfCommand(command, lookups);
}

Publisher PublisherOfCommand(const std::string& command, const ProgramLookups& lookups) {
    const ProgramFile program = ProgramOfCommand(command, lookups);
    Publisher answer;
    answer.file = program.path;
    if (!program.exists) {
        return answer;
    }
    const std::string native = NativePath(program.path);
    const std::wstring widePath = platform::text::Wide(native);
    // A file met before is not opened again while its size and write time stay.
    WIN32_FILE_ATTRIBUTE_DATA seen{};
    if (::GetFileAttributesExW(widePath.c_str(), GetFileExInfoStandard, &seen) &&
        Cache().Find(
            FileKey{UpperPath(widePath), Join(seen.nFileSizeHigh, seen.nFileSizeLow),
                    Join(seen.ftLastWriteTime.dwHighDateTime, seen.ftLastWriteTime.dwLowDateTime)},
            answer)) {
        answer.file = program.path;
        return answer;
    }
    // One open for everything that decides: the signature is checked through this handle.
    platform::unique_hfile file(::CreateFileW(
        widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return answer;
    }
    FileKey key{UpperPath(widePath), Join(info.nFileSizeHigh, info.nFileSizeLow),
                Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
    if (Cache().Find(key, answer)) {
        answer.file = program.path;  // as this command names it
        return answer;
    }
    const SignatureCheck check = CheckSignature(file.get(), widePath);
    answer.signature = check.state;
    answer.signer = check.signer;
    // The version resource is only shown, never trusted, so reading it by name is enough.
    controls::CFileVersionInfo version;
    if (version.Read(native)) {
        answer.company = version.companyName();
        answer.description = version.fileDescription();
    }
    Cache().Keep(std::move(key), answer);
    return answer;
}

const char* SignatureName(SignatureState state) {
    switch (state) {
    case SignatureState::Verified: return "verified";
    case SignatureState::Unsigned: return "unsigned";
    case SignatureState::Invalid: return "invalid";
    case SignatureState::NotFound: break;
    }
    return "not found";
}

const char* SignatureDescription(SignatureState state) {
    switch (state) {
    case SignatureState::Verified: return "Signature verified";
    case SignatureState::Unsigned: return "Not verified: not signed";
    case SignatureState::Invalid: return "Not verified: the signature does not check";
    case SignatureState::NotFound: break;
    }
    return "File not found";
}

std::string PublisherText(const Publisher& publisher, bool* unverified) {
    const bool verified =
        publisher.signature == SignatureState::Verified && !publisher.signer.empty();
    if (unverified) {
        *unverified = !verified;
    }
    if (verified) {
        return publisher.signer;
    }
    return publisher.company.empty() ? std::string() : publisher.company + " (not verified)";
}

}  // namespace publisher
