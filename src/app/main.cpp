// Quillon.exe: the program entry. It takes no command-line arguments; the
// show command (a shortcut set to start maximised or minimised) is honoured.
#include "app/OutOfMemory.h"
#include "app/QuillonAppWindows.h"

#include <exception>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    InstallOutOfMemoryHandler();
    try {
        QuillonAppWindows app;
        app.SetShowCommand(showCommand);
        return app.Run();
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "Quillon", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        return 1;
    }
}
