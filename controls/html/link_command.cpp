#include "controls/html/link_command.h"

namespace controls::html {

std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view address) {
    std::string_view command = registeredCommand;
    size_t cut = command.find("\"%1\"");
    if (cut == std::string_view::npos) {
        cut = command.find("%1");
    }
    if (cut != std::string_view::npos) {
        command = command.substr(0, cut);
    }
    std::string line(command);
    line += ' ';
    line += address;
    return line;
}

}  // namespace controls::html
