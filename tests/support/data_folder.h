#pragma once
// Puts the program's data folder and settings key into a known state for tests.

#include <windows.h>

#include <string>

namespace testing_support {

// Deletes every file and folder in DataPath("data") and leaves the folder empty.
void ResetDataFolder();

// The settings key's view in every build: the 32-bit one, where the shipped program and its
// setup keep it.
inline constexpr REGSAM kSettingsView = KEY_WOW64_32KEY;

// Removes HKLM\SOFTWARE\Velbrook with every value below it; throws when it stays.
void ResetSettingsKey();
// Writes one value of any type into the settings key, or removes it (gone or not).
void StoreSetting(const std::string& name, const std::string& data, DWORD type = REG_SZ);
void DeleteSetting(const std::string& name);

// The whole content of a file, or "<missing>".
std::string ReadFileBytes(const std::string& path);

// Cuts or extends a file to the given size.
void ResizeFile(const std::string& path, size_t size);

}  // namespace testing_support
