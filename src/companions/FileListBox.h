#pragma once
// A list box of files for a companion program to read: files come from the
// file dialog or are dropped on it from Explorer, each shows once with its
// full path, and the Delete key removes the selected ones. The owner hears of
// every change of the list or its selection.

#include "framework/Window.h"

#include <functional>
#include <string>
#include <vector>

class FileListBox : public fw::Window {
public:
    explicit FileListBox(std::function<void()> changed) : changed_(std::move(changed)) {}

    std::vector<std::string> Paths() const;
    // Adds the paths not in the list yet, at its end.
    void Add(const std::vector<std::string>& paths);
    void RemoveSelected();
    bool HasSelection() const;
    int Count() const;
    // Lets the horizontal scroll bar reach the end of the longest path (again
    // after the font has changed).
    void UpdateExtent();

protected:
    void SetupWindow() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnDropFiles(HDROP drop);
    bool OnKeyDown(WPARAM key);

    std::function<void()> changed_;
};

// The paths a multiple-selection file dialog returned in buffer: either one
// full path, or a folder followed by names, each ended by a NUL, the whole
// ended by a second NUL. Empty when nothing was chosen.
std::vector<std::string> SplitFileSelection(const char* buffer, std::size_t size);
