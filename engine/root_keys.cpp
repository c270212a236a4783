#include "engine/root_keys.h"

#include "engine/text.h"

namespace engine {

namespace {

struct RootName {
    const char* shortName;
    const char* longName;
    HKEY root;
};

const RootName kRootNames[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKU", "HKEY_USERS", HKEY_USERS},
    {"HKPD", "HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKCC", "HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKDD", "HKEY_DYN_DATA", HKEY_DYN_DATA},
};

// The first part of the path as written, and that part cleaned for lookup.
struct RootPart {
    size_t writtenLength;
    std::string upper;
};

RootPart CutRootPart(std::string_view path) {
    std::string_view head = path.substr(0, 31);
    head = head.substr(0, head.find_first_of("\\/"));
    return {head.size(), UpperAnsi(TrimBlanks(head))};
}

}  // namespace

ParsedRoot ParseRootKey(std::string_view path) {
    const RootPart part = CutRootPart(path);
    ParsedRoot parsed;
    parsed.prefixLength = part.writtenLength + 1;
    if (part.upper.size() < 2) {
        return parsed;
    }
    for (const RootName& entry : kRootNames) {
        if (part.upper == entry.shortName || part.upper == entry.longName) {
            parsed.root = entry.root;
            break;
        }
    }
    return parsed;
}

std::string ShortRootName(std::string_view name) {
    const RootPart part = CutRootPart(name);
    if (part.upper.size() < 9) {
        return {};
    }
    for (const RootName& entry : kRootNames) {
        if (part.upper == entry.longName) {
            return entry.shortName;
        }
    }
    return {};
}

}  // namespace engine
