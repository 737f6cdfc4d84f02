#pragma once
// Owning wrappers for the Win32 handles the program acquires, so that every
// registry key, GDI object, icon, menu, hook and device context is released on
// every path out of the scope that took it. Owners are move-only; the
// non-owning views (MenuView) are plain values that never release anything.

#include <windows.h>

#include <string>
#include <utility>

namespace fw {

// One owning handle type per release function. Traits give the null value and
// the call that releases a handle.
template <typename Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    Handle Release() { return std::exchange(handle_, Handle{}); }
    void Reset(Handle h = Handle{}) {
        Handle old = std::exchange(handle_, h);
        if (old != Handle{}) Traits::Close(old);
    }

private:
    Handle handle_{};
};

struct RegKeyTraits {
    using Handle = HKEY;
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct IconTraits {
    using Handle = HICON;
    static void Close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static void Close(HMENU h) { DestroyMenu(h); }
};
struct HookTraits {
    using Handle = HHOOK;
    static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
struct GlobalTraits {
    using Handle = HGLOBAL;
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
struct AccelTraits {
    using Handle = HACCEL;
    static void Close(HACCEL h) { DestroyAcceleratorTable(h); }
};
struct KernelTraits {
    using Handle = HANDLE;
    static void Close(HANDLE h) { CloseHandle(h); }
};
// A window the owner made and must take away; a window that has already gone
// with its owner is left alone.
struct WindowTraits {
    using Handle = HWND;
    static void Close(HWND h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
template <typename T> struct GdiTraits {
    using Handle = T;
    static void Close(T h) { DeleteObject(h); }
};

using RegKey = UniqueHandle<RegKeyTraits>;
using Icon = UniqueHandle<IconTraits>;
using Menu = UniqueHandle<MenuTraits>;
using Hook = UniqueHandle<HookTraits>;
using GlobalMemory = UniqueHandle<GlobalTraits>;
using Accelerators = UniqueHandle<AccelTraits>;
using KernelHandle = UniqueHandle<KernelTraits>;
using OwnedWindow = UniqueHandle<WindowTraits>;
using Font = UniqueHandle<GdiTraits<HFONT>>;
using Brush = UniqueHandle<GdiTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiTraits<HPEN>>;
using Bitmap = UniqueHandle<GdiTraits<HBITMAP>>;

// The screen or window DC lent by GetDC, given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The DC of one WM_PAINT, paired with EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    const RECT& PaintRect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A DC created by the program (memory or printer DC), deleted with DeleteDC.
class OwnedDC {
public:
    OwnedDC() = default;
    explicit OwnedDC(HDC dc) : dc_(dc) {}
    ~OwnedDC() {
        if (dc_) DeleteDC(dc_);
    }
    OwnedDC(const OwnedDC&) = delete;
    OwnedDC& operator=(const OwnedDC&) = delete;
    OwnedDC(OwnedDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    OwnedDC& operator=(OwnedDC&& other) noexcept {
        if (this != &other) {
            if (dc_) DeleteDC(dc_);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
};

// Selects a GDI object into a DC for one scope and puts the previous one back,
// so that owned objects are never deleted while still selected.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectObjectScope() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A menu the program does not own (a window's menu bar, a popup handed to a
// message): reading and changing items, never destroying.
class MenuView {
public:
    explicit MenuView(HMENU menu) : menu_(menu) {}
    HMENU Get() const { return menu_; }
    int ItemCount() const { return menu_ ? GetMenuItemCount(menu_) : 0; }
    // Command id of the item at pos; 0 for separators, 0xFFFFFFFF for popups.
    UINT ItemId(int pos) const { return GetMenuItemID(menu_, pos); }
    HMENU SubMenu(int pos) const { return GetSubMenu(menu_, pos); }
    UINT ItemState(int pos) const { return GetMenuState(menu_, pos, MF_BYPOSITION); }
    std::string ItemText(int pos) const;
    // True when id is an item of this menu or of one of its nested popups.
    bool Contains(UINT id) const;
    // True when id is an item of this menu itself, not of a nested popup.
    bool HasItem(UINT id) const;
    void Enable(UINT id, bool enable) const {
        EnableMenuItem(menu_, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    }
    void Check(UINT id, bool check) const {
        CheckMenuItem(menu_, id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
    }

private:
    HMENU menu_;
};

} // namespace fw
