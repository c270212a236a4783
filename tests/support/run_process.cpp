#include "tests/support/run_process.h"

#include "platform/unique_any.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace testing_support {

namespace {

// Reads what the pipe holds now, without waiting for more.
void ReadAvailable(HANDLE pipe, std::string& into) {
    DWORD available = 0;
    while (::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!::ReadFile(pipe, chunk.data(), available, &read, nullptr) || read == 0) {
            return;
        }
        into.append(chunk.data(), read);
    }
}

// Makes a pipe whose write end the child inherits.
void MakePipe(platform::unique_handle& readEnd, platform::unique_handle& writeEnd) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE r, w;
    if (!::CreatePipe(&r, &w, &inherit, 0)) {
        throw std::runtime_error("CreatePipe failed");
    }
    readEnd.reset(r);
    writeEnd.reset(w);
    ::SetHandleInformation(r, HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

ProcessResult RunProcess(const std::string& commandLine) {
    platform::unique_handle outRead, outWrite, errRead, errWrite;
    MakePipe(outRead, outWrite);
    MakePipe(errRead, errWrite);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite.get();
    startup.hStdError = errWrite.get();
    PROCESS_INFORMATION info{};
    std::string mutableLine = commandLine;
    // Detached: a console of its own would hold the pipes open after the program ends.
    if (!::CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                          nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start " + commandLine);
    }
    platform::unique_handle process(info.hProcess), thread(info.hThread);
    outWrite.reset();
    errWrite.reset();
    // The pipes are drained while the program runs and once more after it ended. Waiting for
    // end-of-file instead would hang: a process Wine starts on the program's behalf (the desktop)
    // can hold the write ends open.
    ProcessResult result;
    while (::WaitForSingleObject(process.get(), 5) == WAIT_TIMEOUT) {
        ReadAvailable(outRead.get(), result.out);
        ReadAvailable(errRead.get(), result.err);
    }
    ReadAvailable(outRead.get(), result.out);
    ReadAvailable(errRead.get(), result.err);
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    result.exitCode = code;
    return result;
}

ProcessResult RunVelbrookc(const std::string& arguments) {
    std::string path = VELBROOKC_PATH;
    std::replace(path.begin(), path.end(), '/', '\\');
    return RunProcess("\"" + path + "\" " + arguments);
}

}  // namespace testing_support
