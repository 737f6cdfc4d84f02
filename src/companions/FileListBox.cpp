#include "companions/FileListBox.h"

#include "framework/Handles.h"

#include <shellapi.h>

#include <algorithm>

std::vector<std::string> SplitFileSelection(const char* buffer, std::size_t size) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at < size && buffer[at] != '\0') {
        const std::size_t end = std::find(buffer + at, buffer + size, '\0') - buffer;
        parts.emplace_back(buffer + at, end - at);
        at = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::string folder = parts.front();
    if (folder.back() != '\\') folder += '\\';
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < parts.size(); ++i)
        paths.push_back(folder + parts[i]);
    return paths;
}

void FileListBox::SetupWindow() {
    DragAcceptFiles(Handle(), TRUE);
}

std::vector<std::string> FileListBox::Paths() const {
    std::vector<std::string> paths;
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == LB_ERR) continue;
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        paths.push_back(std::move(text));
    }
    return paths;
}

void FileListBox::Add(const std::vector<std::string>& paths) {
    // Windows file names ignore case, so C:\A.txt and c:\a.txt are one file.
    for (const std::string& path : paths)
        if (!path.empty() && SendMessageA(Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(path.c_str())) == LB_ERR)
            SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    UpdateExtent();
    if (changed_) changed_();
}

void FileListBox::RemoveSelected() {
    for (int i = Count() - 1; i >= 0; --i)
        if (SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    UpdateExtent();
    if (changed_) changed_();
}

bool FileListBox::HasSelection() const {
    return Handle() && SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0) > 0;
}

int FileListBox::Count() const {
    const LRESULT count = Handle() ? SendMessageA(Handle(), LB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? static_cast<int>(count) : 0;
}

void FileListBox::UpdateExtent() {
    fw::WindowDC dc(Handle());
    fw::SelectObjectScope font(dc.Get(),
                               reinterpret_cast<HGDIOBJ>(SendMessageA(Handle(), WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const std::string& path : Paths()) {
        SIZE size{};
        GetTextExtentPoint32A(dc.Get(), path.c_str(), static_cast<int>(path.size()), &size);
        widest = std::max<int>(widest, size.cx);
    }
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.Get(), &tm);
    SendMessageA(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + tm.tmAveCharWidth),
                 0);
}

void FileListBox::OnDropFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        DragQueryFileA(drop, i, path.data(), length + 1);
        path.resize(length);
        // Folders cannot be read as lists.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            paths.push_back(std::move(path));
    }
    DragFinish(drop);
    Add(paths);
}

bool FileListBox::OnKeyDown(WPARAM key) {
    if (key != VK_DELETE || !HasSelection()) return false;
    RemoveSelected();
    return true;
}

LRESULT FileListBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) return 0;
        break;
    }
    return fw::Window::WndProc(msg, wParam, lParam);
}

bool FileListBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != LBN_SELCHANGE) return false;
    if (changed_) changed_();
    result = 0;
    return true;
}
