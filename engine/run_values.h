#pragma once
// The Run and RunOnce values of one root.

#include "engine/startup_item.h"

#include <windows.h>

#include <string_view>

namespace engine {

inline constexpr char kCurrentVersionPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\";

// Hands every value of root\Software\...\CurrentVersion\<keyName> to the sink as an active
// entry located at rootLabel + that path. A key that can't be opened yields nothing.
void EnumerateRunValues(HKEY root, std::string_view rootLabel, std::string_view keyName,
                        const EntrySink& sink);

}  // namespace engine
