#pragma once
// The update tests' side of the loopback version server (version_server.py), which the
// fixture "version_server" starts and whose port it leaves beside the test programs.

#include <string>

namespace testing_support {

class VersionServer {
public:
    // Reads the port; throws when the server is not running.
    VersionServer();

    // The site address under which the server gives the answers of one case.
    std::string CaseUrl(const std::string& caseName) const;

    // Sets the answer of a case and clears its request count. Modes: "normal"; "truncate"
    // (announces the whole body, sends `cut` bytes, closes); "stall" (the same, then keeps the
    // connection open); "hang" (never answers).
    void Script(const std::string& caseName, const std::string& body, int status = 200,
                const std::string& mode = "normal", size_t cut = 0) const;
    // Sets the answer of <case>/<file> alone: the body is read from localPath (a file of this
    // program, on Wine's drive Z:) each time it is asked for; with sign, <case>/<file>.sig
    // answers the body's signature made with the tests' key.
    void ScriptFile(const std::string& caseName, const std::string& file,
                    const std::string& localPath, bool sign = true, int status = 200,
                    const std::string& mode = "normal", size_t cut = 0) const;
    // The same with the body given here.
    void ScriptFileBody(const std::string& caseName, const std::string& file,
                        const std::string& body, bool sign = true, int status = 200,
                        const std::string& mode = "normal", size_t cut = 0) const;
    // An answer of 200 whose body is `unit` repeated `count` times.
    void ScriptRepeated(const std::string& caseName, const std::string& unit, int count) const;

    // How many requests the case has answered since it was scripted.
    int Hits(const std::string& caseName) const;
    // "path?query\nUser-Agent" of the case's last request.
    std::string LastRequest(const std::string& caseName) const;

private:
    std::string Control(const std::string& pathAndQuery) const;
    void SendScript(const std::string& caseName, const std::string& query) const;
    std::string base_;
};

// Sets VELBROOK_SITE_URL for its lifetime.
class SiteUrlOverride {
public:
    explicit SiteUrlOverride(const std::string& url);
    ~SiteUrlOverride();
    SiteUrlOverride(const SiteUrlOverride&) = delete;
    SiteUrlOverride& operator=(const SiteUrlOverride&) = delete;
};

}  // namespace testing_support
