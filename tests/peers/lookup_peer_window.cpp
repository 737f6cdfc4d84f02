// A dictionary program driven by a window message: a hidden top-level window
// with the title it is given. Each WM_COMMAND is recorded as a line with the
// command number, the sender's window handle and the clipboard text in hex.
//   lookup_peer_window TITLE RECORD-FILE [SECONDS]
#include "PeerRecord.h"

#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string record;

std::string ClipboardText(HWND owner) {
    std::string text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        peer::AppendLine(record, std::to_string(static_cast<unsigned>(wParam)) + " " +
                                     std::to_string(static_cast<std::uintptr_t>(lParam)) + " " +
                                     peer::Hex(ClipboardText(hwnd)));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::string Narrow(const wchar_t* text) {
    char buffer[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
    return buffer;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    const std::string title = Narrow(argv[1]);
    record = Narrow(argv[2]);
    const int seconds = argc > 3 ? std::atoi(Narrow(argv[3]).c_str()) : 60;
    LocalFree(argv);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "QuillonLookupPeer";
    RegisterClassA(&wc);
    if (!CreateWindowA(wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                       nullptr, nullptr, instance, nullptr))
        return 3;
    peer::QuitAfter(seconds);
    return peer::RunLoop();
}
