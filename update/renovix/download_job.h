#pragma once
// The download job of the update dialog, without any window: it asks the version endpoint,
// checks the answer, the signed release statement beside it and the own version, downloads every
// listed file that the statement names, with its signature, into the temporary folder, checks
// each signature and digest and writes the update list (and keeps the statement) for the install
// step.
// It tells its driver what happens through DownloadJobEvents; the dialog turns each report into
// a message to its own window, the tests record them.

#include "platform/unique_any.h"
#include "update/renovix/release_statement.h"

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace renovix {

// Why a job ended without anything to install; each has its own text for the user.
enum class DownloadFailure {
    kNoConnection,     // the internet layer, the server or the request failed
    kEmptyAnswer,      // the server answered with nothing
    kBadAnswer,        // the answer is not one the job can act on
    kMissingFileLine,  // the answer announces more files than it lists
    kDownload,         // a download failed, or its size or signature did not check out
    kListFile,         // the update list could not be written
    kNoStatement,      // no release statement with the maker's signature came with the answer
    kNotNewer,         // the signed release is not newer than the installed version
    kNotInStatement,   // the answer names a download that the signed release does not list
};

class DownloadJobEvents {
public:
    virtual ~DownloadJobEvents() = default;
    virtual void OnStatus(const std::wstring& text) = 0;
    // The request went out and an answer came.
    virtual void OnConnecting() = 0;
    // The installed version is not older than the offered one.
    virtual void OnUpToDate() = 0;
    virtual void OnFailed(DownloadFailure failure) = 0;
};

struct DownloadJobSettings {
    std::wstring tempFolder;     // the expansion of %temp%
    std::wstring programFolder;  // of the running program, no trailing backslash
    DWORD pauseMs = 1000;        // the pause after "Getting the required information..."
    DWORD progressMs = 100;      // at least this long between two progress texts
};

// The settings of a real run: the temporary folder and the running program's folder.
DownloadJobSettings DefaultDownloadJobSettings();

class DownloadJob {
public:
    // The size of the pieces a download is read in.
    static constexpr DWORD kPieceBytes = 256 * 1024;

    DownloadJob(DownloadJobEvents& events, DownloadJobSettings settings);
    ~DownloadJob();
    DownloadJob(const DownloadJob&) = delete;
    DownloadJob& operator=(const DownloadJob&) = delete;

    // The whole job; true when the update list is written and everything is ready to install.
    bool Run();
    // From any thread: the job reports nothing more and stops at its next piece.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    // Deletes this run's downloads, their signatures, the statement and the update list.
    void DeleteDownloads();

    // One download into the temporary folder (with url + ".sig" beside it); its local name. Its
    // bytes must have the signature and the digest (of the release statement).
    bool DownloadFile(const std::string& url, unsigned long size, const std::string& digest,
                      std::string& localName);
    // The transfer of one download into file: a whole 200 answer of exactly size bytes.
    bool Fetch(const std::string& url, unsigned long size, HANDLE file);

private:
    bool ProcessAnswer(const std::string& text);
    // The release statement served beside the answer, when its signature is the maker's; kept
    // with its signature in the temporary folder for the install step.
    std::optional<ReleaseStatement> FetchStatement();
    void Fail(DownloadFailure failure);
    void Status(const std::wstring& text);

    DownloadJobEvents& events_;
    DownloadJobSettings settings_;
    std::atomic<bool> cancelled_{false};
    std::vector<std::wstring> downloads_;  // this run's files in the temporary folder
    bool listWritten_ = false;
    bool statementWritten_ = false;
};

}  // namespace renovix
