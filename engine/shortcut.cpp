#include "engine/shortcut.h"

#include "engine/text.h"

namespace engine {

namespace {
const CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr int kLinkTextCount = 1024;
}  // namespace

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
    wchar_t widePath[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) == 0) {
        return {};
    }
    if (FAILED(file_->Load(widePath, STGM_READ))) {
        return {};
    }
    // Neither read is checked: a link without a file-system target gives an empty path part,
    // a link without arguments leaves the trailing blank.
    char target[kLinkTextCount] = {};
    char arguments[kLinkTextCount] = {};
    link_->GetPath(target, kLinkTextCount, nullptr, SLGP_UNCPRIORITY);
    link_->GetArguments(arguments, kLinkTextCount);
    return std::string(target) + " " + arguments;
}

std::string ResolveShortcutCommand(const std::string& shortcutPath) {
    ShortcutResolver resolver;
    return resolver.Resolve(shortcutPath);
}

}  // namespace engine
