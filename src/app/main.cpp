// Quillon.exe: the program entry. It takes no command-line arguments.
#include "app/OutOfMemory.h"
#include "app/QuillonAppWindows.h"

#include <exception>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallOutOfMemoryHandler();
    try {
        QuillonAppWindows app;
        return app.Run();
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "Quillon", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        return 1;
    }
}
