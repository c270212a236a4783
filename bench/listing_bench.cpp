// A full listing against the least work any listing must do: enumerate the six Run keys (the
// 32-bit programs' two included) and Task Manager's StartupApproved keys, search the two
// Startup folders and load each shortcut once.

#include "bench/seeded_machine.h"
#include "bench/timing.h"
#include "engine/listing.h"
#include "engine/startup_folders.h"
#include "platform/com.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "platform/unique_any.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

size_t BarePass() {
    size_t seen = 0;
    struct Key {
        HKEY root;
        REGSAM view;
        const char* path;
    };
    const Key keys[] = {
        {HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_CURRENT_USER, 0, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {HKEY_CURRENT_USER, 0,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"},
        {HKEY_CURRENT_USER, 0,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32"},
        {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder"},
    };
    for (const Key& k : keys) {
        HKEY key;
        if (::RegOpenKeyExA(k.root, k.path, 0, KEY_READ | k.view, &key) != ERROR_SUCCESS) {
            continue;
        }
        char name[1024];
        BYTE data[1024];
        for (DWORD i = 0;; ++i) {
            DWORD nameCount = sizeof name, dataLength = sizeof data;
            if (::RegEnumValueA(key, i, name, &nameCount, nullptr, nullptr, data, &dataLength) !=
                ERROR_SUCCESS) {
                break;
            }
            ++seen;
        }
        ::RegCloseKey(key);
    }
    platform::ComApartment apartment;
    platform::com_ptr<IShellLinkA> link;
    ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                       link.put_void());
    platform::com_ptr<IPersistFile> file;
    link.query(IID_IPersistFile, file);
    for (const auto& [root, value] : {std::pair{HKEY_CURRENT_USER, "Startup"},
                                      std::pair{HKEY_LOCAL_MACHINE, "Common Startup"}}) {
        // The wide search and names as they come: the least any listing of Unicode names does.
        const std::wstring folder =
            platform::text::Wide(engine::GetShellFolderPath(root, value)) + L"\\";
        WIN32_FIND_DATAW found;
        platform::unique_hfind search(::FindFirstFileW((folder + L"*.lnk").c_str(), &found));
        for (bool more = static_cast<bool>(search); more;
             more = ::FindNextFileW(search.get(), &found) != FALSE) {
            char target[1024], arguments[1024];
            if (SUCCEEDED(file->Load((folder + found.cFileName).c_str(), STGM_READ))) {
                link->GetPath(target, sizeof target, nullptr, SLGP_UNCPRIORITY);
                link->GetArguments(arguments, sizeof arguments);
            }
            ++seen;
        }
    }
    return seen;
}

}  // namespace

int main() {
    // Half the Run values carry names outside the legacy code page (Cyrillic, CJK, an emoji).
    bench::SeedPlan plan;
    const char* stems[] = {
        "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0 ",
        "\xE7\xA8\x8B\xE5\xBA\x8F ", "Tool \xF0\x9F\x98\x80 "};
    for (int i = 0; i < plan.runValues / 2; ++i) {
        plan.chosenNames.push_back(stems[i % 3] + std::to_string(i));
    }
    bench::SeedMachine(plan);
    size_t listed = 0, bare = 0;
    const int runs = 5;
    // Alternate the two so that both see the same machine state and caches.
    double listing = 1e300, pass = 1e300;
    for (int round = 0; round < runs; ++round) {
        listing = std::min(listing, bench::BestOfMilliseconds(
                                        1, [&] { listed = engine::ListStartupItems().size(); }));
        pass = std::min(pass, bench::BestOfMilliseconds(1, [&] { bare = BarePass(); }));
    }
    std::printf("entries: listing %zu, bare pass %zu\n", listed, bare);
    std::printf("full listing   %8.1f ms\n", listing);
    std::printf("bare pass      %8.1f ms\n", pass);
    std::printf("ratio listing/bare %.2f (goal <= 1.3)\n", listing / pass);
    return 0;
}
