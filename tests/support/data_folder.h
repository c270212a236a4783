#pragma once
// Puts the program's data folder and settings key into a known state for tests.

#include <string>

namespace testing_support {

// Deletes every file and folder in DataPath("data") and leaves the folder empty.
void ResetDataFolder();

// Removes HKLM\SOFTWARE\Velbrook with every value below it.
void ResetSettingsKey();

// The whole content of a file, or "<missing>".
std::string ReadFileBytes(const std::string& path);

// Cuts or extends a file to the given size.
void ResizeFile(const std::string& path, size_t size);

}  // namespace testing_support
