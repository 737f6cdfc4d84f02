#include "GuiTestSupport.h"

#include "framework/Handles.h"
#include "settings/SettingsStore.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace guitest {

std::string WindowsPath(const std::string& unixPath) {
    std::string path = unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    if (!path.empty() && path[0] == '\\') path = "Z:" + path;
    return path;
}

std::string DistDirectory() {
    return WindowsPath(QUILLON_DIST_DIR) + "\\";
}

bool RecordingShell::FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ProgramRun RunProgram(const std::string& commandLine) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ProgramRun run;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return run;
    fw::KernelHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return run;
    fw::KernelHandle process(pi.hProcess), thread(pi.hThread);
    writer.Reset();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        run.output.append(buffer, got);
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    run.exitCode = static_cast<int>(code);
    return run;
}

void ClearSettings() {
    RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath().c_str());
}

void WriteSettingInt(const char* name, int value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return;
    fw::RegKey key(raw);
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof data);
}

int ReadSettingInt(const char* name, int fallback) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0, KEY_READ, &raw) !=
        ERROR_SUCCESS)
        return fallback;
    fw::RegKey key(raw);
    DWORD data = 0;
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return fallback;
    return static_cast<int>(data);
}

void WriteSettingText(const std::string& name, const std::string& text) {
    if (auto key = RegistrySettings().Open(PersistMode::Write)) key->WriteString(name, text);
}

std::string ReadSettingText(const std::string& name, const std::string& fallback) {
    std::string text = fallback;
    if (auto key = RegistrySettings().Open(PersistMode::Read)) key->ReadString(name, text);
    return text;
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ItemText(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}

Rows ListRows(HWND list, int columns) {
    Rows rows(static_cast<std::size_t>(ListView_GetItemCount(list)));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int c = 0; c < columns; ++c) {
            char text[1000] = {};
            ListView_GetItemText(list, static_cast<int>(i), c, text, sizeof text);
            rows[i].push_back(text);
        }
    return rows;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

std::vector<HWND> VisibleThreadWindows(const char* className) {
    struct Search {
        const char* className;
        std::vector<HWND> found;
    } search{className, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char kind[64] = {};
            GetClassNameA(hwnd, kind, sizeof kind);
            if (IsWindowVisible(hwnd) && (!s->className || lstrcmpiA(kind, s->className) == 0))
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ThreadWindow(const std::string& caption) {
    for (HWND window : VisibleThreadWindows())
        if (IsWindowEnabled(window) && TextOf(window) == caption) return window;
    return nullptr;
}

void HoldKeys(const std::vector<int>& keys, bool down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    for (int vk : keys)
        state[vk] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

int PumpMessages(int ms) {
    int quits = 0;
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ++quits;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    return quits;
}

namespace {

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

std::uint32_t Crc32(const unsigned char* data, size_t length, std::uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

} // namespace

std::vector<unsigned char> EncodePng(int width, int height, const std::vector<unsigned char>& rgb) {
    std::vector<unsigned char> raw;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        raw.insert(raw.end(), rgb.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
                   rgb.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes));
    }
    // zlib stream of stored deflate blocks (at most 65535 bytes each).
    std::vector<unsigned char> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        z.push_back(pos + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<unsigned char>(n & 0xFF));
        z.push_back(static_cast<unsigned char>(n >> 8));
        z.push_back(static_cast<unsigned char>(~n & 0xFF));
        z.push_back(static_cast<unsigned char>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(z, b << 16 | a);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return png;
}

std::vector<unsigned char> ScreenRgb(const RECT& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    fw::WindowDC screen(nullptr);
    fw::OwnedDC memory(CreateCompatibleDC(screen.Get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::Bitmap bitmap(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    {
        fw::SelectObjectScope select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
    }
    GdiFlush();
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = static_cast<const unsigned char*>(bits) + y * stride;
        for (int x = 0; x < width; ++x) { // the DIB holds blue first
            rgb.push_back(row[x * 3 + 2]);
            rgb.push_back(row[x * 3 + 1]);
            rgb.push_back(row[x * 3]);
        }
    }
    return rgb;
}

std::string SaveScreenshot(HWND window, const std::string& name) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    // Pending paints first; Wine then copies what the windows drew to the
    // display when the thread next waits, so wait once briefly.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (HWND shown : VisibleThreadWindows())
        RedrawWindow(shown, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_TIMER);

    const std::vector<unsigned char> rgb = ScreenRgb(r);
    if (rgb.empty()) return {};
    const char* folder = std::getenv("QUILLON_SCREENSHOTS");
    std::string dir =
        WindowsPath(folder && *folder ? folder : QUILLON_SOURCE_DIR "/build/screenshots");
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string path = dir + "\\" + name + ".png";
    std::vector<unsigned char> png = EncodePng(width, height, rgb);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
        return path;
    }
    return {};
}

ModalScript& ModalScript::Then(std::string caption, Action action, int delayMs) {
    steps_.push_back({std::move(caption), std::move(action), delayMs / kTick});
    return *this;
}

ModalScript& ModalScript::Never(std::string caption) {
    forbidden_.push_back(std::move(caption));
    return *this;
}

LRESULT ModalScript::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_TIMER) return fw::Window::WndProc(msg, wParam, lParam);
    Tick();
    return 0;
}

void ModalScript::Tick() {
    for (const std::string& caption : forbidden_)
        if (!failed_ && ThreadWindow(caption)) {
            ADD_FAILURE() << "the window \"" << caption << "\" showed";
            failed_ = true;
        }
    if (failed_) { // cancels every dialog still up
        for (HWND dialog : VisibleThreadWindows("#32770"))
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (busy_ || next_ == steps_.size()) return;
    const Step& step = steps_[next_];
    if (++waited_ <= step.delayTicks) return;
    if (HWND window = ThreadWindow(step.caption)) {
        waited_ = 0;
        Action action = step.action;
        ++next_;
        busy_ = true;
        action(window);
        busy_ = false;
    } else if (waited_ > step.delayTicks + 5000 / kTick) {
        ADD_FAILURE() << "no window \"" << step.caption << "\" appeared";
        failed_ = true;
    }
}

namespace {
constexpr UINT kRunCallback = WM_APP + 7;
}

void LoopCallback::Post(std::function<void()> f, int turns) {
    pending_ = std::move(f);
    PostMessageA(Handle(), kRunCallback, static_cast<WPARAM>(turns), 0);
}

LRESULT LoopCallback::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunCallback && pending_) {
        if (wParam > 0) {
            Sleep(20);
            PostMessageA(Handle(), kRunCallback, wParam - 1, 0);
            return 0;
        }
        auto f = std::move(pending_);
        pending_ = nullptr;
        f();
        return 0;
    }
    return fw::Window::WndProc(msg, wParam, lParam);
}

} // namespace guitest
