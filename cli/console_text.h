#pragma once
// Where the console program's text goes, in which code page. A console window gets UTF-16
// through the wide console functions, so every name shows. Redirected text stays in the
// machine's legacy ANSI code page, as scripts have always read it, unless UTF-8 is asked for;
// JSON is always UTF-8.

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace cli {

class ConsoleText {
public:
    // Puts std::cout and std::cerr on the console's own handles.
    ConsoleText();
    // Flushes and gives the streams their own buffers back.
    ~ConsoleText();
    ConsoleText(const ConsoleText&) = delete;
    ConsoleText& operator=(const ConsoleText&) = delete;

    // --utf8: redirected text in UTF-8.
    void UseUtf8();
    // The program prints JSON on std::cout: its bytes are UTF-8 already.
    void PrintJson();

private:
    class Buffer;
    std::unique_ptr<Buffer> out_;
    std::unique_ptr<Buffer> err_;
    std::streambuf* oldOut_;
    std::streambuf* oldErr_;
};

// The program's arguments from the wide command line, in the process's ANSI code page.
std::vector<std::string> WideCommandLineArguments();

}  // namespace cli
