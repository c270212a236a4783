// Velbrook.exe: the application object runs the whole program.

#include "shell/velbrook_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    shell::CVelbrookApp app;
    app.InitInstance(commandLine ? commandLine : "");
    return app.ExitInstance();
}
