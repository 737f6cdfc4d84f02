#pragma once
// The application object: makes the context, the results view and the main
// frame with its status bar, places the frame where it was left, runs the
// message loop, and answers Exit.

#include "app/WordplayFrameWindow.h"
#include "context/AppContext.h"
#include "framework/Application.h"
#include "views/WordplayViewWindows.h"

#include <memory>

class QuillonAppWindows : public fw::Application {
public:
    QuillonAppWindows();
    // For tests: another program folder, shell and settings store.
    QuillonAppWindows(std::string programDirectory, Shell& shell, SettingsStore& settings);
    ~QuillonAppWindows() override;

    void InitMainWindow() override;
    bool InitInstance() override;
    bool OnCommand(UINT id) override;
    void CommandEnable(fw::CommandEnabler& ce) override;

    AppContext* Context() const { return context_.get(); }
    WordplayFrameWindow* Frame() const { return frame_.get(); }
    WordplayViewWindows* ResultsView() const { return view_.get(); }

private:
    std::string programDirectory_;
    Shell& shell_;
    SettingsStore& settings_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<WordplayViewWindows> view_;
    std::unique_ptr<WordplayFrameWindow> frame_;
};
