#include "context/Shell.h"

#include "framework/Handles.h"

#include <shellapi.h>
#include <vector>
#include <windows.h>

void SystemShell::Open(const std::string& target) {
    ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_RESTORE);
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

std::string QuoteArgument(const std::string& argument) {
    std::string quoted(1, '"');
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // Backslashes before the closing quote would escape it.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

bool LaunchProgram(Shell& shell, const std::string& program, const std::string& argument) {
    if (program.empty()) return false;
    // A program path is quoted as it stands: it cannot contain a quote, and a
    // folder name ending in a backslash is not a program.
    std::string commandLine;
    commandLine.reserve(program.size() + argument.size() * 2 + 5);
    commandLine.append(1, '"').append(program).append(1, '"');
    if (!argument.empty()) commandLine.append(1, ' ').append(QuoteArgument(argument));
    return shell.StartProcess(commandLine);
}
