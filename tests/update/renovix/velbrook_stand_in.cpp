// Stands in for Velbrook.exe in the install tests: it writes its command-line arguments to
// started.txt beside itself and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file = path;
    file = file.substr(0, file.find_last_of('\\') + 1) + "started.txt";
    if (FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fputs(arguments, out);
        std::fclose(out);
    }
    return 0;
}
