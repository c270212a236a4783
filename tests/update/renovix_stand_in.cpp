// Stands in for Renovix.dll in the loader tests. It counts its loads and calls in the process
// environment (which outlives the library) and returns the result the test asks for.

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

int ReadNumber(const char* name) {
    char text[32] = {};
    return ::GetEnvironmentVariableA(name, text, sizeof text) ? std::atoi(text) : 0;
}

void CountUp(const char* name) {
    ::SetEnvironmentVariableA(name, std::to_string(ReadNumber(name) + 1).c_str());
}

}  // namespace

extern "C" __declspec(dllexport) int ShowMainDialogFirst() {
    CountUp("RENOVIX_STAND_IN_CALLS");
    return ReadNumber("RENOVIX_STAND_IN_RESULT");
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        CountUp("RENOVIX_STAND_IN_LOADS");
    }
    return TRUE;
}
