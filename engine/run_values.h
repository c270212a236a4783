#pragma once
// The Run and RunOnce values: the sources of one machine, and the reading of one of them.

#include "engine/startup_item.h"
#include "platform/registry_view.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace engine {

inline constexpr char kCurrentVersionPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\";
// The 32-bit programs' copy of HKLM\Software on 64-bit Windows, by its real path.
inline constexpr char kWowCurrentVersionPath[] =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\";

// "Software\Wow6432Node\Microsoft\Windows\CurrentVersion\" + keyName.
std::string WowRunKeyPath(std::string_view keyName);

// One Run or RunOnce key as a source of the listing.
struct RunSource {
    HKEY root;
    platform::reg::View view;
    std::string path;      // the key below the root, as opened in the view
    std::string location;  // what its entries carry: root label + the key's real path
};

// HKCU Run, HKCU RunOnce, HKLM Run, HKLM RunOnce and, on 64-bit Windows, the 32-bit
// programs' HKLM Run and RunOnce (labelled with their Wow6432Node path).
std::vector<RunSource> RunSources();

// Hands every value of the key to the sink at the source's location: as an active entry, or
// as switched off when Task Manager marked it so.
void EnumerateRunSource(const RunSource& source, const EntrySink& sink);

// Hands every value of root\Software\...\CurrentVersion\<keyName> (HKLM in its 64-bit view)
// to the sink, located at rootLabel + that path. A key that can't be opened yields nothing.
void EnumerateRunValues(HKEY root, std::string_view rootLabel, std::string_view keyName,
                        const EntrySink& sink);

}  // namespace engine
