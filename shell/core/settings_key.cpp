#include "shell/core/settings_key.h"

#include "engine/product_name.h"
#include "platform/registry_view.h"

#include <climits>
#include <cerrno>
#include <cstdlib>

namespace shell {

namespace reg = platform::reg;

std::string SettingsKeyPath() { return std::string("SOFTWARE\\") + engine::ProductName; }

namespace {
// At most 200 bytes are read, and shorter than two bytes with the terminator counts as unset.
bool ReadStoredText(const std::string& name, std::string& text) {
    platform::unique_hkey key;
    std::string data;
    DWORD type = REG_NONE;
    if (reg::OpenKeyIn(kSettingsView, HKEY_LOCAL_MACHINE, SettingsKeyPath(), KEY_READ, key) !=
            ERROR_SUCCESS ||
        reg::QueryValue(key.get(), name, data, type) != ERROR_SUCCESS || data.size() < 2) {
        return false;
    }
    text = reg::TextOfData(data.substr(0, 200));
    return true;
}
}  // namespace

int ReadSetting(const std::string& name, int fallback) {
    std::string text;
    if (!ReadStoredText(name, text)) {
        return fallback;
    }
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed >= INT_MAX || parsed <= INT_MIN) {
        return fallback;
    }
    return static_cast<int>(parsed);
}

std::string ReadSettingText(const std::string& name) {
    std::string text;
    return ReadStoredText(name, text) ? text : std::string();
}

LSTATUS WriteSetting(const char* text, const std::string& name) {
    if (!text) {
        return ERROR_INVALID_DATA;
    }
    platform::unique_hkey key;
    const LSTATUS status = reg::CreateKeyIn(kSettingsView, HKEY_LOCAL_MACHINE, SettingsKeyPath(),
                                            KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return reg::SetString(key.get(), name, text);
}

LSTATUS WriteSetting(int value, const std::string& name) {
    return WriteSetting(std::to_string(value).c_str(), name);
}

}  // namespace shell
