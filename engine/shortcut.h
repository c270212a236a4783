#pragma once
// Turns a shortcut (.lnk) file into the command line it starts.

#include "platform/com.h"

#include <shlobj.h>

#include <string>

namespace engine {

// Target path, one blank and the arguments; empty text when the link can't be loaded.
std::string ResolveShortcutCommand(const std::string& shortcutPath);

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
