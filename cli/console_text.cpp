#include "cli/console_text.h"

#include "platform/text_codec.h"

#include <windows.h>

#include <shellapi.h>

#include <iostream>
#include <memory>
#include <streambuf>

namespace cli {

namespace text = platform::text;

class ConsoleText::Buffer : public std::streambuf {
public:
    explicit Buffer(DWORD which) : handle_(::GetStdHandle(which)) {
        DWORD mode = 0;
        console_ = handle_ && handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode);
    }
    ~Buffer() override { Flush(); }

    void SetCodePages(unsigned source, unsigned target) {
        Flush();
        source_ = source;
        target_ = target;
    }

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            pending_ += static_cast<char>(c);
            // A line at a time: a character's bytes never straddle two writes.
            if (c == '\n') {
                Flush();
            }
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize count) override {
        pending_.append(s, static_cast<size_t>(count));
        if (pending_.find('\n') != std::string::npos) {
            Flush();
        }
        return count;
    }
    int sync() override {
        Flush();
        return 0;
    }

private:
    void Flush() {
        if (pending_.empty()) {
            return;
        }
        DWORD written = 0;
        if (console_) {
            const std::wstring wide = text::Wide(pending_, source_);
            ::WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                            nullptr);
        } else {
            // Line ends as the C runtime's text mode wrote them before: CR LF.
            std::string bytes;
            for (const char c :
                 source_ == target_ ? pending_ : text::Recode(pending_, source_, target_)) {
                if (c == '\n') {
                    bytes += '\r';
                }
                bytes += c;
            }
            ::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
        pending_.clear();
    }

    HANDLE handle_;
    bool console_ = false;
    unsigned source_ = text::kAnsi;
    unsigned target_ = text::LegacyCodePage();
    std::string pending_;
};

ConsoleText::ConsoleText()
    : out_(std::make_unique<Buffer>(STD_OUTPUT_HANDLE)),
      err_(std::make_unique<Buffer>(STD_ERROR_HANDLE)),
      oldOut_(std::cout.rdbuf(out_.get())),
      oldErr_(std::cerr.rdbuf(err_.get())) {}

ConsoleText::~ConsoleText() {
    std::cout.flush();
    std::cerr.flush();
    std::cout.rdbuf(oldOut_);
    std::cerr.rdbuf(oldErr_);
}

void ConsoleText::UseUtf8() {
    out_->SetCodePages(text::kAnsi, text::kUtf8);
    err_->SetCodePages(text::kAnsi, text::kUtf8);
}

void ConsoleText::PrintJson() { out_->SetCodePages(text::kUtf8, text::kUtf8); }

std::vector<std::string> WideCommandLineArguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> arguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    std::vector<std::string> narrow;
    for (int i = 0; arguments && i < count; ++i) {
        narrow.push_back(text::Narrow(arguments.get()[i]));
    }
    return narrow;
}

}  // namespace cli
