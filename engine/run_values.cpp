#include "engine/run_values.h"

#include "platform/registry.h"

#include <string>

namespace engine {

void EnumerateRunValues(HKEY root, std::string_view rootLabel, std::string_view keyName,
                        const EntrySink& sink) {
    const std::string path = std::string(kCurrentVersionPath) + std::string(keyName);
    platform::unique_hkey key;
    if (platform::reg::OpenKey(root, path, KEY_READ, key) != ERROR_SUCCESS) {
        return;
    }
    StartupItem item;
    item.location = std::string(rootLabel) + path;
    item.enabled = true;
    platform::reg::Value value;
    // The buffers grow with the value, so no long name or command can hide the values after it.
    for (DWORD index = 0; platform::reg::EnumValue(key.get(), index, value) == ERROR_SUCCESS;
         ++index) {
        item.name = value.name;
        item.command = platform::reg::TextOfData(value.data);
        sink(item);
    }
}

}  // namespace engine
