#pragma once
// Runs a program of the build and collects its exit code and output, for black-box tests.

#include <string>

namespace testing_support {

struct ProcessResult {
    unsigned long exitCode = 0xdeadbeef;
    std::string out;
    std::string err;
};

// commandLine is passed to CreateProcessA as it stands (quote arguments yourself).
ProcessResult RunProcess(const std::string& commandLine);

// The console program, started with these arguments.
ProcessResult RunVelbrookc(const std::string& arguments);

}  // namespace testing_support
