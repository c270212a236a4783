// The time until every row of the Manual Fix page has its publisher, against a plain loop of
// the WinVerifyTrust calls those rows need (one per distinct existing file). 2,200 entries:
// 200 name copies of a signed sample, the other Run values name missing files, the shortcuts
// one system program. Before each side every file gets a new write time, so the process's
// cache of answers saves nothing.

#include "bench/publishers_wait.h"
#include "bench/seeded_machine.h"
#include "bench/shown_manual_page.h"
#include "bench/timing.h"
#include "publisher/folder_listings.h"
#include "publisher/machine_lookups.h"
#include "platform/text_codec.h"
#include "publisher/publisher.h"

#include <wincrypt.h>
#include <wintrust.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

constexpr int kSignedCopies = 200;

const GUID kGenericVerifyV2 = {
    0xaac56b, 0xcd44, 0x11d0, {0x8c, 0xc2, 0x00, 0xc0, 0x4f, 0xc2, 0x95, 0xee}};

void Touch(const std::set<std::string>& files, DWORD step) {
    FILETIME time{};
    ::GetSystemTimeAsFileTime(&time);
    time.dwHighDateTime += step;
    for (const std::string& path : files) {
        HANDLE file = ::CreateFileA(publisher::NativePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::SetFileTime(file, nullptr, nullptr, &time);
            ::CloseHandle(file);
        }
    }
}

void VerifyEach(const std::set<std::string>& files) {
    for (const std::string& path : files) {
        const std::wstring wide = platform::text::Wide(path);
        HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        WINTRUST_FILE_INFO info{};
        info.cbStruct = sizeof info;
        info.pcwszFilePath = wide.c_str();
        info.hFile = file;
        WINTRUST_DATA data{};
        data.cbStruct = sizeof data;
        data.dwUIChoice = WTD_UI_NONE;
        data.fdwRevocationChecks = WTD_REVOKE_NONE;
        data.dwUnionChoice = WTD_CHOICE_FILE;
        data.pFile = &info;
        data.dwStateAction = WTD_STATEACTION_VERIFY;
        data.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
        GUID action = kGenericVerifyV2;
        ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
        data.dwStateAction = WTD_STATEACTION_CLOSE;
        ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
        ::CloseHandle(file);
    }
}

}  // namespace

int main() {
    bench::SeedMachine({});
    const std::string folder = "C:\\Program Files\\Bench\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < kSignedCopies; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "BenchEntry%04d.exe", i);
        if (!::CopyFileA(SIGNED_SAMPLE, (folder + name).c_str(), FALSE)) {
            std::printf("the signed sample could not be copied\n");
            return 1;
        }
    }
    bench::ShownManualPage shown;
    if (!shown.Show()) {
        return 1;
    }
    views::CManulStartupsPage& page = shown.page;
    page.Reload();
    bench::PumpUntilPublishers(page.list());
    std::set<std::string> files;
    int verified = 0;
    for (int row = 0; row < page.list().RowCount(); ++row) {
        const publisher::Publisher* found = page.list().PublisherAt(row);
        if (found->signature != publisher::SignatureState::NotFound) {
            files.insert(publisher::NativePath(found->file));
        }
        verified += found->signature == publisher::SignatureState::Verified;
    }

    std::set<std::string> commands;
    for (int row = 0; row < page.list().RowCount(); ++row) {
        commands.insert(page.list().ItemAt(row)->command);
    }

    DWORD step = 1;
    // Each side finds every file changed since the last, so that no cache answers for it.
    const auto samples =
        bench::Interleaved(5,
                           {[&] {
                                page.Reload();
                                bench::PumpUntilPublishers(page.list());
                            },
                            [&] { VerifyEach(files); },
                            [&] {
                                const publisher::FolderListingLookups lookups;
                                for (const std::string& command : commands) {
                                    publisher::PublisherOfCommand(command, lookups);
                                }
                            }},
                           [&](size_t) { Touch(files, step++); });
    std::printf("rows %d, distinct files %zu, verified rows %d\n", page.list().RowCount(),
                files.size(), verified);
    bench::PrintTime("every row's publisher", samples[0]);
    bench::PrintTime("WinVerifyTrust loop", samples[1]);
    bench::PrintRatio("publishers/loop", bench::Ratios(samples[0], samples[1]), 1.2);
    // Where the difference lies: the program's own look-ups (finding each command's file, the
    // version resource, the cache) in one plain loop on this thread, without the page.
    bench::PrintTime("the same look-ups in a plain loop", samples[2]);
    std::printf("look-ups/loop median %.2f\n", bench::Ratios(samples[2], samples[1]).Median());
    return 0;
}
