// Feeds arbitrary commands to the parser that finds the file a startup entry starts. Every
// file "exists", so the search runs its longest way; the answer must be a part of the
// expanded command or a path built from one.
#include "publisher/program_of_command.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {
class EverythingExists : public publisher::ProgramLookups {
public:
    std::optional<std::string> Variable(std::string_view name) const override {
        if (name == "PATH") {
            return std::string("C:\\a;\"D:\\b c\";rel;;\\\\s\\x");
        }
        return name.size() % 2 ? std::optional<std::string>("C:\\v") : std::nullopt;
    }
    bool IsFile(const std::string& path) const override { return path.size() % 3 == 0; }
    std::string AppPath(const std::string& fileName) const override {
        return fileName.size() % 2 ? "\"%X%\\" + fileName + "\"" : std::string();
    }
    std::vector<std::string> SystemFolders() const override { return {"C:\\w\\s", "C:\\w\\"}; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view command(reinterpret_cast<const char*>(data), size);
    const EverythingExists lookups;
    const publisher::ProgramFile file = publisher::ProgramOfCommand(command, lookups);
    if (file.exists && file.path.empty()) {
        __builtin_trap();
    }
    return 0;
}
