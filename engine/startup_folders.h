#pragma once
// The user's and the common Startup folder and the shortcuts in them.

#include "engine/startup_item.h"

#include <windows.h>

#include <string>

namespace engine {

inline constexpr char kUserStartupLabel[] = "Startup";
inline constexpr char kCommonStartupLabel[] = "Common Startup";

// The folder named by a Shell Folders value ("Startup" under the current user, "Common
// Startup" under the local machine), or empty text.
std::string GetShellFolderPath(HKEY root, const std::string& valueName);

// Hands every "*.lnk" file of the folder to the sink: file title, resolved command, the value
// name as location.
void EnumerateStartupFolder(HKEY root, const std::string& valueName, const EntrySink& sink);

// "Tool.lnk" -> "Tool".
std::string FileTitle(const std::string& fileName);

}  // namespace engine
