// Keeps the test prefix's desktop open for the whole test run. Wine ends the desktop process
// a second after the last other program on the desktop ends, and the next program that shows
// a window starts it again as its own child: inside that program's job, holding the pipes of
// whoever waits for it. This program stays on the desktop until the prefix's server ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The first call into the window manager joins this thread to the desktop.
    ::GetDesktopWindow();
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&msg);
    }
    return 0;
}
