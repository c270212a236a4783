#include "controls/html/link_open.h"

#include "controls/html/link_command.h"
#include "platform/registry.h"

#include <shellapi.h>

#include <utility>

namespace controls::html {
namespace {

AddressOpener& InstalledOpener() {
    static AddressOpener opener;
    return opener;
}

bool StartRegisteredBrowser(const std::string& address) {
    platform::unique_hkey extension;
    std::string type;
    if (platform::reg::OpenKey(HKEY_CLASSES_ROOT, ".htm", KEY_READ, extension) != ERROR_SUCCESS ||
        platform::reg::QueryString(extension.get(), "", type) != ERROR_SUCCESS) {
        return false;
    }
    platform::unique_hkey command;
    std::string registered;
    if (platform::reg::OpenKey(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command", KEY_READ,
                               command) != ERROR_SUCCESS ||
        platform::reg::QueryString(command.get(), "", registered) != ERROR_SUCCESS) {
        return false;
    }
    std::string line = BrowserCommandLine(registered, address);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    platform::unique_handle thread(process.hThread), owner(process.hProcess);
    return true;
}

}  // namespace

AddressOpener SetAddressOpener(AddressOpener opener) {
    return std::exchange(InstalledOpener(), std::move(opener));
}

bool OpenAddress(const std::string& address) {
    if (const AddressOpener& opener = InstalledOpener()) {
        return opener(address);
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) {
        return true;
    }
    return StartRegisteredBrowser(address);
}

}  // namespace controls::html
