#pragma once
// Turns a shortcut (.lnk) file into the command line it starts.

#include "platform/com.h"

#include <shlobj.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace engine {

// Target path, one blank and the arguments; empty text when the link can't be loaded.
std::string ResolveShortcutCommand(const std::string& shortcutPath);

// A 32-bit process on 64-bit Windows gets a link's "%ProgramFiles%" expanded to the 32-bit
// programs' folder, although the link may mean the 64-bit one. Each pair is (32-bit folder,
// 64-bit folder): a target under the first that does not exist there but does under the
// second is the second's.
using FolderPairs = std::vector<std::pair<std::string, std::string>>;
std::string RealShortcutTarget(const std::string& target, const FolderPairs& folders,
                               const std::function<bool(const std::string&)>& exists);

// Resolves many shortcuts in a row with one COM apartment and one shell-link object.
class ShortcutResolver {
public:
    ShortcutResolver();
    std::string Resolve(const std::string& shortcutPath);

private:
    platform::ComApartment apartment_;
    platform::com_ptr<IShellLinkA> link_;
    platform::com_ptr<IPersistFile> file_;
};

}  // namespace engine
