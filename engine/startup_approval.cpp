#include "engine/startup_approval.h"

#include "engine/approval_value.h"
#include "engine/root_keys.h"
#include "engine/run_values.h"
#include "engine/startup_folders.h"
#include "engine/text.h"
#include "platform/registry_view.h"

namespace engine {

namespace {

namespace reg = platform::reg;

std::string ApprovalPath(const ApprovalKey& key) {
    return std::string(kStartupApprovedPath) + key.subkey;
}

}  // namespace

std::optional<ApprovalKey> ApprovalKeyOf(const std::string& location) {
    if (EqualsNoCase(location, kUserStartupLabel)) {
        return ApprovalKey{HKEY_CURRENT_USER, "StartupFolder"};
    }
    if (EqualsNoCase(location, kCommonStartupLabel)) {
        return ApprovalKey{HKEY_LOCAL_MACHINE, "StartupFolder"};
    }
    const ParsedRoot parsed = ParseRootKey(location);
    if (!parsed.root || parsed.prefixLength > location.size()) {
        return std::nullopt;
    }
    const std::string path = CollapseBackslashes(location.substr(parsed.prefixLength));
    const std::string run = std::string(kCurrentVersionPath) + "Run";
    if (EqualsNoCase(path, run)) {
        return ApprovalKey{parsed.root, "Run"};
    }
    if (parsed.root == HKEY_LOCAL_MACHINE && EqualsNoCase(path, WowRunKeyPath("Run"))) {
        return ApprovalKey{HKEY_LOCAL_MACHINE, "Run32"};
    }
    return std::nullopt;
}

ApprovalMarks::ApprovalMarks(const std::optional<ApprovalKey>& key) {
    platform::unique_hkey approved;
    if (!key || reg::OpenKeyIn(reg::View::Native, key->root, ApprovalPath(*key), KEY_QUERY_VALUE,
                               approved) != ERROR_SUCCESS) {
        return;
    }
    reg::Value value;
    for (DWORD index = 0; reg::EnumValue(approved.get(), index, value) == ERROR_SUCCESS; ++index) {
        if (IsApprovalOff(value.data, value.type == REG_BINARY)) {
            off_.insert(UpperAnsi(value.name));
        }
    }
}

bool ApprovalMarks::IsOff(const std::string& valueName) const {
    return !off_.empty() && off_.count(UpperAnsi(valueName)) > 0;
}

bool IsMarkedOff(const ApprovalKey& key, const std::string& valueName) {
    platform::unique_hkey approved;
    std::string data;
    DWORD type = REG_NONE;
    return reg::OpenKeyIn(reg::View::Native, key.root, ApprovalPath(key), KEY_QUERY_VALUE,
                          approved) == ERROR_SUCCESS &&
           reg::QueryValue(approved.get(), valueName, data, type) == ERROR_SUCCESS &&
           IsApprovalOff(data, type == REG_BINARY);
}

LSTATUS SwitchApprovalOn(const ApprovalKey& key, const std::string& valueName) {
    platform::unique_hkey approved;
    LSTATUS status =
        reg::OpenKeyIn(reg::View::Native, key.root, ApprovalPath(key), KEY_SET_VALUE, approved);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return reg::SetBinary(approved.get(), valueName, ApprovalOnValue());
}

}  // namespace engine
