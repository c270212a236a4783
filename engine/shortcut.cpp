#include "engine/shortcut.h"

#include "engine/text.h"
#include "platform/registry_view.h"
#include "platform/text_codec.h"

namespace engine {

namespace {
const CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr int kLinkTextCount = 1024;
std::string EnvironmentValue(const char* name) {
    char value[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value, length) : std::string();
}

bool PathExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The Program Files pairs of a 32-bit process on 64-bit Windows; none elsewhere.
const FolderPairs& WowFolderPairs() {
    static const FolderPairs pairs = [] {
        FolderPairs found;
        if (platform::IsProcess64Bit() || !platform::IsWindows64Bit()) {
            return found;
        }
        for (const auto& [x86, native] :
             {std::pair{"ProgramFiles(x86)", "ProgramW6432"},
              std::pair{"CommonProgramFiles(x86)", "CommonProgramW6432"}}) {
            std::string x86Folder = EnvironmentValue(x86), nativeFolder = EnvironmentValue(native);
            if (!x86Folder.empty() && !nativeFolder.empty() &&
                !EqualsNoCase(x86Folder, nativeFolder)) {
                found.emplace_back(std::move(x86Folder), std::move(nativeFolder));
            }
        }
        return found;
    }();
    return pairs;
}

}  // namespace

std::string RealShortcutTarget(const std::string& target, const FolderPairs& folders,
                               const std::function<bool(const std::string&)>& exists) {
    for (const auto& [x86Folder, nativeFolder] : folders) {
        const std::string prefix = CollapseBackslashes(x86Folder + "\\");
        if (StartsWithNoCase(target, prefix) && !exists(target)) {
            std::string native =
                CollapseBackslashes(nativeFolder + "\\") + target.substr(prefix.size());
            if (exists(native)) {
                return native;
            }
        }
    }
    return target;
}

ShortcutResolver::ShortcutResolver() {
    // On a thread already in another apartment model the initialisation fails, but COM is
    // usable all the same.
    if (SUCCEEDED(::CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA,
                                     link_.put_void()))) {
        link_.query(kPersistFile, file_);
    }
}

std::string ShortcutResolver::Resolve(const std::string& shortcutPath) {
    if (!file_) {
        return {};
    }
    std::string path = shortcutPath;
    if (UpperAnsi(path).find(".LNK") == std::string::npos) {
        path += ".lnk";
    }
    if (FAILED(file_->Load(platform::text::Wide(path).c_str(), STGM_READ))) {
        return {};
    }
    // Neither read is checked: a link without a file-system target gives an empty path part,
    // a link without arguments leaves the trailing blank.
    char target[kLinkTextCount] = {};
    char arguments[kLinkTextCount] = {};
    link_->GetPath(target, kLinkTextCount, nullptr, SLGP_UNCPRIORITY);
    link_->GetArguments(arguments, kLinkTextCount);
    return RealShortcutTarget(target, WowFolderPairs(), PathExists) + " " + arguments;
}

std::string ResolveShortcutCommand(const std::string& shortcutPath) {
    ShortcutResolver resolver;
    return resolver.Resolve(shortcutPath);
}

}  // namespace engine
