#include "tests/update/version_server_client.h"

#include "platform/module_path.h"
#include "update/url_fetch.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace testing_support {

namespace {

std::string PercentEncoded(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_') {
            out += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            out += escaped;
        }
    }
    return out;
}

}  // namespace

VersionServer::VersionServer() {
    // The port file lies beside the update tests, or a folder or two above those in folders
    // of their own.
    std::string folder = platform::ProgramFolderWithBackslash();
    std::string portFile;
    int port = 0;
    for (int level = 0; level < 3 && port <= 0 && !folder.empty(); ++level) {
        portFile = folder + "version-server.port";
        std::ifstream in(portFile);
        if (!(in >> port)) {
            port = 0;
        }
        folder = folder.substr(0, folder.find_last_of('\\', folder.size() - 2) + 1);
    }
    if (port <= 0) {
        throw std::runtime_error("no version server: " + portFile + " is missing");
    }
    base_ = "http://127.0.0.1:" + std::to_string(port);
}

std::string VersionServer::CaseUrl(const std::string& caseName) const {
    return base_ + "/" + caseName;
}

std::string VersionServer::Control(const std::string& pathAndQuery) const {
    return update::FetchUrlText(base_ + pathAndQuery);
}

void VersionServer::SendScript(const std::string& caseName, const std::string& query) const {
    if (Control("/_script/" + caseName + "?" + query) != "scripted") {
        throw std::runtime_error("the version server did not take the script of " + caseName);
    }
}

void VersionServer::Script(const std::string& caseName, const std::string& body, int status,
                           const std::string& mode, size_t cut) const {
    SendScript(caseName, "status=" + std::to_string(status) + "&mode=" + mode +
                             "&cut=" + std::to_string(cut) + "&body=" + PercentEncoded(body));
}

void VersionServer::ScriptRepeated(const std::string& caseName, const std::string& unit,
                                   int count) const {
    SendScript(caseName, "repeat=" + std::to_string(count) + "&body=" + PercentEncoded(unit));
}

void VersionServer::ScriptFile(const std::string& caseName, const std::string& file,
                               const std::string& localPath, bool sign, int status,
                               const std::string& mode, size_t cut) const {
    // Wine's drive Z: is the machine's root.
    std::string unixPath = localPath;
    if (unixPath.size() > 2 && (unixPath[0] == 'Z' || unixPath[0] == 'z') && unixPath[1] == ':') {
        unixPath.erase(0, 2);
    }
    for (char& c : unixPath) {
        c = c == '\\' ? '/' : c;
    }
    SendScript(caseName + "/" + file, "status=" + std::to_string(status) + "&mode=" + mode +
                                          "&cut=" + std::to_string(cut) + "&sign=" +
                                          (sign ? "1" : "0") + "&path=" + PercentEncoded(unixPath));
}

void VersionServer::ScriptFileBody(const std::string& caseName, const std::string& file,
                                   const std::string& body, bool sign, int status,
                                   const std::string& mode, size_t cut) const {
    SendScript(caseName + "/" + file, "status=" + std::to_string(status) + "&mode=" + mode +
                                          "&cut=" + std::to_string(cut) + "&sign=" +
                                          (sign ? "1" : "0") + "&body=" + PercentEncoded(body));
}

int VersionServer::Hits(const std::string& caseName) const {
    return std::atoi(Control("/_hits/" + caseName).c_str());
}

std::string VersionServer::LastRequest(const std::string& caseName) const {
    return Control("/_last/" + caseName);
}

SiteUrlOverride::SiteUrlOverride(const std::string& url) {
    _putenv(("VELBROOK_SITE_URL=" + url).c_str());
}

SiteUrlOverride::~SiteUrlOverride() { _putenv("VELBROOK_SITE_URL="); }

}  // namespace testing_support
