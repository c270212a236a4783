#include "shell/logon_task_xml.h"

namespace shell {

namespace {

// Element text: paths may hold '&' and '<'.
std::string Escaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string Element(const char* name, const std::string& text) {
    return std::string("<") + name + ">" + Escaped(text) + "</" + name + ">";
}

}  // namespace

std::string LogonTaskXml(const LogonTaskDefinition& task) {
    // A scheduled task stops after 72 hours, starts only on mains power and runs below normal
    // priority unless its settings say otherwise; the program at the tray runs for the whole
    // session.
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
           "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
           "<RegistrationInfo>" +
           Element("Description", task.description) +
           "</RegistrationInfo>"
           "<Triggers><LogonTrigger><Enabled>true</Enabled>" +
           Element("UserId", task.userId) +
           "</LogonTrigger></Triggers>"
           "<Principals><Principal id=\"Author\">" +
           Element("UserId", task.userId) +
           "<LogonType>InteractiveToken</LogonType><RunLevel>HighestAvailable</RunLevel>"
           "</Principal></Principals>"
           "<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
           "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
           "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
           "<Enabled>true</Enabled><ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"
           "<Priority>4</Priority></Settings>"
           "<Actions Context=\"Author\"><Exec>" +
           Element("Command", task.application) + Element("Arguments", task.parameters) +
           Element("WorkingDirectory", task.workingDirectory) + "</Exec></Actions></Task>";
}

}  // namespace shell
