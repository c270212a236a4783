#pragma once
// SettingsKey: HKLM\SOFTWARE\Velbrook, whose values are decimal integers or local times,
// all stored as REG_SZ. The key lies in the 32-bit view in every build: the shipped program is
// 32-bit and its setup writes and removes the key there, so a 64-bit build of the same sources
// must find the same values.

#include "platform/registry_view.h"

#include <windows.h>

#include <string>

namespace shell {

// "SOFTWARE\Velbrook".
std::string SettingsKeyPath();
// The view the key is opened in.
inline constexpr platform::reg::View kSettingsView = platform::reg::View::Wow32;

// The stored number, or fallback when the key or value is missing, the text is empty, or the
// number does not fit 32 bits (the largest and smallest 32-bit values count as overflow).
int ReadSetting(const std::string& name, int fallback);

// The stored text, or empty text; for the values that hold times.
std::string ReadSettingText(const std::string& name);

// Writes text as REG_SZ; a null text gives ERROR_INVALID_DATA (13) and writes nothing.
LSTATUS WriteSetting(const char* text, const std::string& name);
LSTATUS WriteSetting(int value, const std::string& name);

}  // namespace shell
