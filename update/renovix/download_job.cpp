#include "update/kept_update.h"
#include "update/renovix/download_job.h"

#include "platform/text_codec.h"

#include "update/program_version.h"
#include "update/renovix/install_step.h"
#include "update/renovix/signature.h"
#include "update/renovix/update_list.h"
#include "update/site_config.h"
#include "update/url_fetch.h"
#include "update/version_compare.h"

#include <cstdio>
#include <cstdlib>

namespace renovix {

namespace {

// Tries for a local name that is not taken yet.
constexpr int kNameTries = 100;

std::string RandomName() {
    static const char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyz1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string name;
    for (int i = 0; i < 10; ++i) {
        name += kAlphabet[std::rand() % 62];
    }
    return name;
}

bool WriteAll(HANDLE file, const char* bytes, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

std::wstring ProgressText(unsigned long received, unsigned long size) {
    wchar_t progress[64];
    std::swprintf(progress, 64, L"Downloaded : %u KB of %u KB",
                  static_cast<unsigned>(received / 1024), static_cast<unsigned>(size / 1024));
    return progress;
}

update::HttpRequest DownloadRequest() {
    update::HttpRequest request;
    request.agent = "Renovix";
    request.accessType = INTERNET_OPEN_TYPE_PRECONFIG;
    // Fresh from the server and written only where the job puts it: a copy in WinINet's cache
    // would cost as much again as the download and keep the update there.
    request.flags =
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_BINARY;
    return request;
}

}  // namespace

DownloadJobSettings DefaultDownloadJobSettings() {
    DownloadJobSettings settings;
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = ::ExpandEnvironmentStringsW(L"%temp%", temp, MAX_PATH);
    settings.tempFolder = length > 0 && length <= MAX_PATH ? temp : L"";
    wchar_t path[MAX_PATH] = {};
    const DWORD pathLength = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring module(path, pathLength < MAX_PATH ? pathLength : 0);
    const size_t slash = module.find_last_of(L'\\');
    settings.programFolder = slash == std::wstring::npos ? std::wstring() : module.substr(0, slash);
    return settings;
}

DownloadJob::DownloadJob(DownloadJobEvents& events, DownloadJobSettings settings)
    : events_(events), settings_(std::move(settings)) {}

DownloadJob::~DownloadJob() = default;

void DownloadJob::Status(const std::wstring& text) {
    if (!cancelled_) {
        events_.OnStatus(text);
    }
}

void DownloadJob::Fail(DownloadFailure failure) {
    DeleteDownloads();
    if (!cancelled_) {
        events_.OnFailed(failure);
    }
}

void DownloadJob::DeleteDownloads() {
    for (const auto& path : downloads_) {
        ::DeleteFileW(path.c_str());
        ::DeleteFileW((path + kSignatureSuffix).c_str());
    }
    downloads_.clear();
    if (listWritten_) {
        ::DeleteFileW((settings_.tempFolder + L"\\" + update::kUpdateListName).c_str());
        listWritten_ = false;
    }
    if (statementWritten_) {
        const std::wstring statement = settings_.tempFolder + L"\\" + kStatementTempName;
        ::DeleteFileW(statement.c_str());
        ::DeleteFileW((statement + kSignatureSuffix).c_str());
        statementWritten_ = false;
    }
}

bool DownloadJob::Run() {
    const std::string url = update::VersionCheckUrl();
    ::OutputDebugStringW(platform::text::Wide(url).c_str());
    update::HttpOutcome outcome = update::HttpOutcome::kFailed;
    const std::string text = update::FetchUrlText(url, INTERNET_OPEN_TYPE_PRECONFIG, &outcome);
    if (cancelled_) {
        return false;
    }
    if (outcome == update::HttpOutcome::kNotConnected || outcome == update::HttpOutcome::kFailed) {
        Fail(DownloadFailure::kNoConnection);
        return false;
    }
    events_.OnConnecting();
    if (cancelled_) {
        return false;
    }
    if (text.empty()) {
        Fail(DownloadFailure::kEmptyAnswer);
        return false;
    }
    return ProcessAnswer(text);
}

bool DownloadJob::ProcessAnswer(const std::string& text) {
    const AnswerHeader header = ReadAnswerHeader(text);
    if (header.outcome != AnswerHeader::kReady) {
        Fail(DownloadFailure::kBadAnswer);
        return false;
    }
    Status(L"Getting the required information...");
    ::Sleep(settings_.pauseMs);
    const std::string own = update::FileVersionText(
        platform::text::Narrow(settings_.programFolder + L"\\Velbrook.exe"));
    if (!update::IsNewerVersion(own, header.latestVersion)) {
        if (!cancelled_) {
            events_.OnUpToDate();
        }
        return false;
    }
    // The answer is not signed: what is downloaded, and where it goes, is what the signed
    // statement lists, and only a release newer than the installed one.
    const auto statement = FetchStatement();
    if (!statement) {
        Fail(DownloadFailure::kNoStatement);
        return false;
    }
    if (statement->product != kStatementProduct ||
        !update::IsNewerVersion(own, statement->version)) {
        Fail(DownloadFailure::kNotNewer);
        return false;
    }
    std::vector<std::string> listed;
    for (int i = 0; i < header.fileCount; ++i) {
        const auto line = AnswerFileLine(text, i);
        if (!line) {
            Fail(DownloadFailure::kMissingFileLine);
            return false;
        }
        const auto file = SplitFileLine(*line);
        const StatementFile* stated = file ? statement->FileNamed(NameInUrl(file->url)) : nullptr;
        if (file && !stated) {
            Fail(DownloadFailure::kNotInStatement);
            return false;
        }
        std::string localName;
        if (!file || !DownloadFile(std::string(file->url), file->size, stated->digest, localName)) {
            Fail(DownloadFailure::kDownload);
            return false;
        }
        // The list line carries the statement's fields only: no run flag, no address.
        listed.push_back(stated->destination + "\t.\t" + std::to_string(file->size) + "\t" +
                         stated->name + "\t" + (stated->isArchive ? "1" : "0") + "\t0\t" +
                         localName);
    }
    if (cancelled_) {
        DeleteDownloads();
        return false;
    }
    // The list is read by rundll32, which runs in the legacy code page: it is UTF-8 whatever the
    // process's code page.
    const std::string list =
        FormatUpdateList(platform::text::Utf8(settings_.programFolder), listed);
    const std::wstring listPath = settings_.tempFolder + L"\\" + update::kUpdateListName;
    platform::unique_hfile file(::CreateFileW(listPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    listWritten_ = static_cast<bool>(file);
    if (!file || !WriteAll(file.get(), list.data(), list.size())) {
        file.reset();
        Fail(DownloadFailure::kListFile);
        return false;
    }
    return true;
}

std::optional<ReleaseStatement> DownloadJob::FetchStatement() {
    const std::string url = update::ReleaseStatementUrl();
    std::string bytes, signature;
    update::HttpRequest request = DownloadRequest();
    request.receive = [&](const char* data, size_t count) {
        bytes.append(data, count);
        return bytes.size() <= kMaxStatementBytes;
    };
    update::HttpRequest signatureRequest = DownloadRequest();
    signatureRequest.receive = [&](const char* data, size_t count) {
        signature.append(data, count);
        return signature.size() <= kSignatureBytes;
    };
    if (update::HttpGet(url, request) != update::HttpOutcome::kDone ||
        update::HttpGet(url + ".sig", signatureRequest) != update::HttpOutcome::kDone ||
        !IsSignedByMaker(bytes, signature)) {
        return std::nullopt;
    }
    auto statement = ParseReleaseStatement(bytes);
    if (!statement) {
        return std::nullopt;
    }
    const std::wstring path = settings_.tempFolder + L"\\" + kStatementTempName;
    statementWritten_ = true;
    for (const auto& [name, content] :
         {std::pair{path, &bytes}, std::pair{path + kSignatureSuffix, &signature}}) {
        platform::unique_hfile file(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteAll(file.get(), content->data(), content->size())) {
            return std::nullopt;
        }
    }
    return statement;
}

bool DownloadJob::DownloadFile(const std::string& url, unsigned long size,
                               const std::string& digest, std::string& localName) {
    if (!IsAllowedDownloadUrl(url)) {
        return false;
    }
    // The generator is never seeded, so names repeat from run to run: a name that is taken is
    // passed over rather than overwritten.
    platform::unique_hfile file;
    std::wstring path;
    for (int i = 0; i < kNameTries && !file; ++i) {
        localName = RandomName();
        path = settings_.tempFolder + L"\\" + platform::text::WideOfUtf8(localName);
        file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!file) {
        return false;
    }
    downloads_.push_back(path);
    Status(L"Downlading latest version of Velbrook");

    const bool fetched = Fetch(url, size, file.get());
    file.reset();
    if (!fetched) {
        return false;
    }
    std::string signature;
    update::HttpRequest signatureRequest = DownloadRequest();
    signatureRequest.receive = [&](const char* bytes, size_t count) {
        signature.append(bytes, count);
        return signature.size() <= kSignatureBytes;
    };
    if (update::HttpGet(url + ".sig", signatureRequest) != update::HttpOutcome::kDone ||
        signature.size() != kSignatureBytes) {
        return false;
    }
    platform::unique_hfile signatureFile(::CreateFileW((path + kSignatureSuffix).c_str(),
                                                       GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!signatureFile || !WriteAll(signatureFile.get(), signature.data(), signature.size())) {
        return false;
    }
    signatureFile.reset();
    std::string data;
    if (!ReadWholeFile(path, data, kMaxDownloadBytes) || !IsSignedByMaker(data, signature) ||
        Sha512Hex(data) != digest) {
        return false;
    }
    Status(L"Downladed latest version of Velbrook");
    return true;
}

bool DownloadJob::Fetch(const std::string& url, unsigned long size, HANDLE file) {
    unsigned long received = 0;
    bool written = true;
    update::HttpRequest request = DownloadRequest();
    request.pieceBytes = kPieceBytes;
    // Large pieces and no pause: the progress text changes as often as the eye can follow, not
    // once a piece.
    ULONGLONG shown = 0;  // the first piece is always shown
    request.receive = [&](const char* bytes, size_t count) {
        if (cancelled_ || received + count > size || !WriteAll(file, bytes, count)) {
            written = false;
            return false;
        }
        received += static_cast<unsigned long>(count);
        const ULONGLONG now = ::GetTickCount64();
        if (now - shown >= settings_.progressMs) {
            shown = now;
            Status(ProgressText(received, size));
        }
        return true;
    };
    const update::HttpOutcome outcome = update::HttpGet(url, request);
    Status(ProgressText(received, size));
    return outcome == update::HttpOutcome::kDone && written && received == size;
}

}  // namespace renovix
