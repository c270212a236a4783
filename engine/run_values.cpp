#include "engine/run_values.h"

#include "engine/startup_approval.h"

namespace engine {

namespace reg = platform::reg;

std::string WowRunKeyPath(std::string_view keyName) {
    return std::string(kWowCurrentVersionPath) + std::string(keyName);
}

std::vector<RunSource> RunSources() {
    std::vector<RunSource> sources;
    for (const auto& [root, label] :
         {std::pair{HKEY_CURRENT_USER, "HKCU\\"}, std::pair{HKEY_LOCAL_MACHINE, "HKLM\\"}}) {
        for (const char* keyName : {"Run", "RunOnce"}) {
            const std::string path = kCurrentVersionPath + std::string(keyName);
            sources.push_back({root, reg::View::Native, path, label + path});
        }
    }
    if (platform::IsWindows64Bit()) {
        for (const char* keyName : {"Run", "RunOnce"}) {
            sources.push_back({HKEY_LOCAL_MACHINE, reg::View::Wow32,
                               kCurrentVersionPath + std::string(keyName),
                               "HKLM\\" + WowRunKeyPath(keyName)});
        }
    }
    return sources;
}

void EnumerateRunSource(const RunSource& source, const EntrySink& sink) {
    platform::unique_hkey key;
    if (reg::OpenKeyIn(source.view, source.root, source.path, KEY_READ, key) != ERROR_SUCCESS) {
        return;
    }
    const ApprovalMarks marks(ApprovalKeyOf(source.location));
    StartupItem item;
    item.location = source.location;
    reg::Value value;
    // The buffers grow with the value, so no long name or command can hide the values after it.
    for (DWORD index = 0; reg::EnumValue(key.get(), index, value) == ERROR_SUCCESS; ++index) {
        item.name = value.name;
        item.command = reg::TextOfData(value.data);
        item.enabled = !marks.IsOff(item.name);
        item.disabledBy = item.enabled ? StartupItem::DisabledBy::Store
                                       : StartupItem::DisabledBy::StartupApproved;
        sink(item);
    }
}

void EnumerateRunValues(HKEY root, std::string_view rootLabel, std::string_view keyName,
                        const EntrySink& sink) {
    const std::string path = kCurrentVersionPath + std::string(keyName);
    EnumerateRunSource({root, reg::View::Native, path, std::string(rootLabel) + path}, sink);
}

}  // namespace engine
