// Quillon.exe: the program entry. It takes no command-line arguments; the
// show command (a shortcut set to start maximised or minimised) is honoured.
#include "app/OutOfMemory.h"
#include "app/QuillonAppWindows.h"
#include "context/AnsiPaths.h"

#include <exception>
#include <windows.h>

namespace {

// Without a name for its own folder the program would look for its
// dictionary, tables and help in the wrong place; saying so is better.
void ReportUnreachableFolder() {
    std::wstring folder = ModulePath();
    folder.erase(folder.find_last_of(L'\\') + 1);
    const std::wstring text =
        L"Quillon cannot reach its dictionary, indicator tables and help, because the name of "
        L"its folder\n\n" +
        folder +
        L"\n\nholds characters that this computer's language for non-Unicode programs cannot "
        L"show.\n\nMove the Quillon folder to a folder whose name has none of them, or install "
        L"Quillon again into such a folder.";
    MessageBoxW(nullptr, text.c_str(), L"Quillon", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    InstallOutOfMemoryHandler();
    if (ProgramDirectory().empty()) {
        ReportUnreachableFolder();
        return 1;
    }
    try {
        QuillonAppWindows app;
        app.SetShowCommand(showCommand);
        return app.Run();
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "Quillon", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        return 1;
    }
}
