#pragma once
// The window object layer: one C++ object per window, a virtual message
// handler per class whose short switch calls named OnX members, command ids
// routed through a per-window response table, command enablers asked when a
// menu opens, and notifications reflected back to the control that sent them.

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace fw {

// Asked for one command while a menu opens: a window that knows the command
// says whether it is available; a command nobody knows is shown disabled.
class CommandEnabler {
public:
    explicit CommandEnabler(UINT id) : id_(id) {}
    UINT Id() const { return id_; }
    void Enable(bool enable = true) {
        enabled_ = enable;
        handled_ = true;
    }
    void SetCheck(bool check) { checked_ = check; }
    bool Handled() const { return handled_; }
    bool Enabled() const { return enabled_; }
    bool Checked() const { return checked_; }

private:
    UINT id_;
    bool enabled_ = false;
    bool checked_ = false;
    bool handled_ = false;
};

// The command ids a window answers, each with its handler and an optional
// enabler; a command without an enabler is always available.
class CommandTable {
public:
    using Handler = std::function<void()>;
    using Enabler = std::function<bool()>;

    void Add(UINT id, Handler handler, Enabler enabler = nullptr) {
        entries_[id] = Entry{std::move(handler), std::move(enabler)};
    }
    void Remove(UINT id) { entries_.erase(id); }
    bool Contains(UINT id) const { return entries_.count(id) != 0; }
    // Runs the handler of id; false when the table does not know id or the
    // command is disabled at the moment (an accelerator may still send it).
    bool Execute(UINT id) const;
    // Fills the enabler when the table knows its command.
    void QueryEnable(CommandEnabler& ce) const;

private:
    struct Entry {
        Handler handler;
        Enabler enabler;
    };
    std::map<UINT, Entry> entries_;
};

// Base of every window the program creates or attaches to. Windows of our own
// classes are created through Create; existing windows (controls made by a
// dialog template, common controls) are attached by subclassing them.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    // The object of a window created or attached by this framework, else null.
    static Window* FromHandle(HWND hwnd);

    // Creates the window with this object's window class (registered on first use).
    bool Create(HWND parent, const char* caption, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HMENU menuOrId = nullptr);
    // Creates a window of a system or common-control class and attaches to it.
    bool CreateControl(HWND parent, const char* className, const char* text, DWORD style,
                       DWORD exStyle, int id);
    // Creates the window as the client of a frame (a plain child by default).
    virtual bool CreateChild(HWND parent);
    // Subclasses an existing window so that its messages reach WndProc.
    void Attach(HWND hwnd);
    void Detach();
    void DestroyWindow();

    // Command routing: run the command (true when handled) and report whether
    // it is available. The defaults use the window's response table.
    virtual bool OnCommand(UINT id, UINT notifyCode, HWND control);
    virtual void CommandEnable(CommandEnabler& ce);
    // The may-close query of the main window and its client.
    virtual bool CanClose() { return true; }
    // The frame this window is the client of has moved to a screen of
    // another DPI (the window is still at its old size).
    virtual void ParentDpiChanged(int) {}
    // Called for a queued message of this window or one of its children before
    // it is translated and dispatched; true swallows the message.
    virtual bool PreTranslateMessage(MSG&) { return false; }
    // Offers msg to the window it is for and then to each parent up to the
    // top-level window; true when one of them swallowed it.
    static bool PreTranslateChain(MSG& msg);

    std::string Text() const;
    void SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
    RECT WindowRect() const;
    RECT ClientRect() const;

protected:
    // Window class of Create: the class name and a chance to change the class.
    virtual const char* ClassName() const { return "QuillonWindow"; }
    virtual void PreRegisterClass(WNDCLASSEXA&) {}
    // Called once the window exists (WM_CREATE or, for attached ones, at Attach).
    virtual void SetupWindow() {}

    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // A message this window sent to its parent, handed back to it; true when
    // handled, with the result in result.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void OnDestroy() {}
    // The window is gone; the object stays and may be deleted by its owner.
    virtual void OnNcDestroy() {}
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Ties the object to a window without subclassing (dialogs bind at WM_INITDIALOG).
    void Bind(HWND hwnd);
    void Unbind();
    // Hands a control's WM_COMMAND, WM_NOTIFY or WM_DRAWITEM back to its object.
    bool ReflectToControl(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    CommandTable commands_;

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool RegisterWindowClass(HINSTANCE instance);

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;
};

} // namespace fw
