// From process start until the main window is visible: Velbrook.exe, side by side with an
// empty dialog program of the same build started the same way. Velbrook's splash holds the
// window back for 1.0 s by design; the goal is that the rest costs at most 0.3 s more than the
// empty program.

#include "tests/support/velbrook_process.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Starts exe and returns the milliseconds until a visible top-level window titled title belongs
// to it; then ends it. The ending is not timed: Velbrook takes seconds to close, which used to
// count as start-up.
double StartUntilVisible(const std::string& exe, const char* title) {
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER start, seen;
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        std::fprintf(stderr, "cannot start %s\n", exe.c_str());
        std::exit(1);
    }
    HWND window = nullptr;
    while (!(window = testing_support::FindProcessWindow(info.dwProcessId, "#32770", title))) {
        ::Sleep(1);
    }
    ::QueryPerformanceCounter(&seen);
    ::PostMessage(window, WM_CLOSE, 1, 1);
    if (::WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(info.hProcess, 1);
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return Milliseconds(start, seen);
}

double BestOf(int runs, const std::string& exe, const char* title) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        best = std::min(best, StartUntilVisible(exe, title));
    }
    return best;
}

}  // namespace

int main() {
    // Nothing answers there: the check at start does not wait for a network.
    ::SetEnvironmentVariableA("VELBROOK_SITE_URL", "http://127.0.0.1:1");
    const std::string velbrook = testing_support::BuiltVelbrookPath();
    const std::string empty = EMPTY_DIALOG_PATH;
    // One start of each first: the loader's caches are warm for both sides.
    StartUntilVisible(velbrook, "Velbrook");
    StartUntilVisible(empty, "Empty");
    constexpr int kRuns = 5;
    const double velbrookMs = BestOf(kRuns, velbrook, "Velbrook");
    const double emptyMs = BestOf(kRuns, empty, "Empty");
    const double beyondSplash = velbrookMs - 1000.0 - emptyMs;
    std::printf("start until the main window is visible, best of %d\n", kRuns);
    std::printf("  Velbrook.exe          %8.1f ms (1000 ms of it the splash)\n", velbrookMs);
    std::printf("  empty dialog program  %8.1f ms\n", emptyMs);
    std::printf("  Velbrook - splash - empty = %.1f ms (goal: at most 300 ms)\n", beyondSplash);
    return 0;
}
