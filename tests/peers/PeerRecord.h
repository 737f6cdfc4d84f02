#pragma once
// What the lookup peers share: each record is one line of text, and words are
// written as hex so that blanks, quotes and accented bytes arrive exactly.

#include <windows.h>

#include <cstdio>
#include <string>

namespace peer {

inline std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 0xF];
    }
    return out;
}

// Appends one line and closes the file again, so that a reader sees every
// record as soon as the peer has answered.
inline void AppendLine(const std::string& path, const std::string& line) {
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

// Ends the message loop after seconds, so that a peer never outlives a test
// that forgot it.
inline void QuitAfter(int seconds) {
    SetTimer(nullptr, 0, static_cast<UINT>(seconds > 0 ? seconds : 60) * 1000u,
             [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
}

inline int RunLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

} // namespace peer
