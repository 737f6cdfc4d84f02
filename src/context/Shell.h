#pragma once
// The program's doors to the outside world: opening an address or a file with
// the shell, starting another program, and telling the user about a failure.
// Everything that would leave the program goes through one Shell, so that the
// GUI tests can put a recording one in its place.

#include <string>

class Shell {
public:
    virtual ~Shell() = default;
    // The shell's "open" verb on a web address, mailto: link or file; no parent
    // window, shown with SW_RESTORE; failures are not reported.
    virtual void Open(const std::string& target) = 0;
    // As Open, telling whether the shell took the target; a shell that cannot
    // tell says yes.
    virtual bool TryOpen(const std::string& target) {
        Open(target);
        return true;
    }
    // Starts a program from a complete command line without waiting for it;
    // false when it could not be started.
    virtual bool StartProcess(const std::string& commandLine) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // A message box with an exclamation icon.
    virtual void Report(const std::string& text, const std::string& caption) = 0;
};

// The real shell of the system.
class SystemShell : public Shell {
public:
    void Open(const std::string& target) override;
    bool TryOpen(const std::string& target) override;
    bool StartProcess(const std::string& commandLine) override;
    bool FileExists(const std::string& path) override;
    void Report(const std::string& text, const std::string& caption) override;
};

Shell& DefaultShell();

// Starts program (a path; the system adds ".exe" when it has no extension)
// with an optional argument, written so that the program's runtime gives it
// back unchanged, and does not wait. False on failure.
bool LaunchProgram(Shell& shell, const std::string& program, const std::string& argument);
