#include "context/Shell.h"

#include "framework/Handles.h"
#include "lookup/CommandLine.h"

#include <shellapi.h>
#include <vector>
#include <windows.h>

void SystemShell::Open(const std::string& target) {
    TryOpen(target);
}

bool SystemShell::TryOpen(const std::string& target) {
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_RESTORE);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool SystemShell::StartProcess(const std::string& commandLine) {
    // CreateProcess may write into the command line, so it gets its own copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    fw::KernelHandle process(pi.hProcess);
    fw::KernelHandle thread(pi.hThread);
    return true;
}

bool SystemShell::FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SystemShell::Report(const std::string& text, const std::string& caption) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

Shell& DefaultShell() {
    static SystemShell shell;
    return shell;
}

bool LaunchProgram(Shell& shell, const std::string& program, const std::string& argument) {
    if (program.empty()) return false;
    return shell.StartProcess(ProgramCommandLine(program, argument));
}
