// The window framework on its own: ownership of windows and handles, command
// tables and enablers, reflection of control notifications, the frame's
// layout and menu hints, the application's loop, and the PNG writer the
// screenshots rely on.
#include "GuiTestSupport.h"

#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/FrameWindow.h"
#include "framework/Handles.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using guitest::PumpMessages;

TEST(CommandTable, RunsKnownCommandsAndHonoursEnablers) {
    fw::CommandTable table;
    int runs = 0;
    bool available = false;
    table.Add(100, [&] { ++runs; });
    table.Add(
        200, [&] { runs += 10; }, [&] { return available; });

    EXPECT_TRUE(table.Execute(100));
    EXPECT_FALSE(table.Execute(300)) << "unknown command";
    EXPECT_FALSE(table.Execute(200)) << "disabled command must not run from an accelerator";
    EXPECT_EQ(runs, 1);
    available = true;
    EXPECT_TRUE(table.Execute(200));
    EXPECT_EQ(runs, 11);

    fw::CommandEnabler unknown(300), always(100), sometimes(200);
    available = false;
    for (fw::CommandEnabler* e : {&unknown, &always, &sometimes})
        table.QueryEnable(*e);
    EXPECT_FALSE(unknown.Handled());
    EXPECT_TRUE(always.Handled() && always.Enabled());
    EXPECT_TRUE(sometimes.Handled() && !sometimes.Enabled());
}

TEST(MenuView, FindsCommandsInNestedPopups) {
    fw::Menu outer(CreatePopupMenu());
    HMENU inner = CreatePopupMenu();
    AppendMenuA(inner, MF_STRING, 42, "Inner");
    AppendMenuA(outer.Get(), MF_STRING, 7, "Outer");
    AppendMenuA(outer.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(outer.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "Nested");
    fw::MenuView view(outer.Get());
    EXPECT_TRUE(view.Contains(7));
    EXPECT_TRUE(view.Contains(42));
    EXPECT_FALSE(view.Contains(0)) << "separators are not commands";
    EXPECT_FALSE(view.Contains(43));
    EXPECT_EQ(view.ItemCount(), 3);
    EXPECT_EQ(view.ItemText(0), "Outer");
}

TEST(UniqueHandle, ReleasesOnResetAndMovesOwnership) {
    fw::Brush first(CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH raw = first.Get();
    ASSERT_NE(raw, nullptr);
    fw::Brush second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), raw);
    second.Reset();
    EXPECT_EQ(GetObjectType(raw), 0u) << "the brush must be deleted";
}

// A child control whose notifications come back to its own object.
class ReflectingButton : public fw::Window {
public:
    int clicks = 0;

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            result = 0;
            return true;
        }
        return false;
    }
};

class Parent : public fw::Window {
public:
    int commands = 0;
    bool OnCommand(UINT, UINT, HWND) override {
        ++commands;
        return true;
    }
};

TEST(Window, ObjectFollowsItsWindowAndReflectsNotifications) {
    HWND parentHandle = nullptr;
    {
        Parent parent;
        ASSERT_TRUE(parent.Create(nullptr, "Parent", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 100));
        parentHandle = parent.Handle();
        EXPECT_EQ(fw::Window::FromHandle(parentHandle), &parent);
        EXPECT_EQ(parent.Text(), "Parent");

        ReflectingButton button;
        ASSERT_TRUE(button.CreateControl(parent.Handle(), "BUTTON", "Go", WS_CHILD | BS_PUSHBUTTON,
                                         0, 1234));
        SendMessageA(parent.Handle(), WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.Handle()));
        EXPECT_EQ(button.clicks, 1);
        EXPECT_EQ(parent.commands, 0) << "a reflected notification does not reach the parent";

        SendMessageA(parent.Handle(), WM_COMMAND, MAKEWPARAM(555, 0), 0);
        EXPECT_EQ(parent.commands, 1) << "a menu command reaches the parent";
    }
    EXPECT_FALSE(IsWindow(parentHandle)) << "the window dies with its object";
    PumpMessages(0);
}

class HintedFrame : public fw::FrameWindow {
public:
    explicit HintedFrame(fw::Window* client) : fw::FrameWindow("Frame test", client) {
        commands_.Add(CM_HELPABOUT, [] {});
        commands_.Add(
            CM_OPTIONS, [] {}, [] { return false; });
    }
};

TEST(FrameWindow, ClientFillsTheFrameAboveTheStatusBar) {
    fw::Window client;
    HintedFrame frame(&client);
    frame.InsertStatusBar(std::make_unique<fw::StatusBar>());
    frame.Attr().width = 400;
    frame.Attr().height = 300;
    ASSERT_TRUE(frame.CreateFrame());
    ShowWindow(frame.Handle(), SW_SHOW);
    PumpMessages(20);
    auto inFrame = [&](HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, frame.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    for (SIZE size : {SIZE{400, 300}, SIZE{500, 420}}) {
        SetWindowPos(frame.Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        const RECT inside = frame.ClientRect(), bar = inFrame(frame.GetStatusBar()->Handle()),
                   view = inFrame(client.Handle());
        EXPECT_EQ(bar.bottom, inside.bottom) << size.cx;
        EXPECT_GT(bar.bottom - bar.top, 0);
        EXPECT_EQ(view.top, 0);
        EXPECT_EQ(view.bottom, bar.top) << "the client ends where the bar begins";
        EXPECT_EQ(view.right, inside.right);
    }
}

TEST(FrameWindow, MenuHintsAndEnablers) {
    HintedFrame frame(nullptr);
    frame.InsertStatusBar(std::make_unique<fw::StatusBar>());
    frame.Attr().width = 300;
    frame.Attr().height = 200;
    ASSERT_TRUE(frame.CreateFrame());
    fw::StatusBar* bar = frame.GetStatusBar();
    bar->SetStatus("Idle");

    fw::Menu popup(CreatePopupMenu());
    AppendMenuA(popup.Get(), MF_STRING, CM_HELPABOUT, "About");
    AppendMenuA(popup.Get(), MF_STRING, CM_OPTIONS, "Options");
    AppendMenuA(popup.Get(), MF_STRING, 31999, "Nobody's");
    SendMessageA(frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.Get()), 0);
    auto grayed = [&](int pos) {
        return (fw::MenuView(popup.Get()).ItemState(pos) & MF_GRAYED) != 0;
    };
    EXPECT_FALSE(grayed(0)) << "handled command";
    EXPECT_TRUE(grayed(1)) << "handled but unavailable";
    EXPECT_TRUE(grayed(2)) << "a command nobody handles";

    SendMessageA(frame.Handle(), WM_MENUSELECT, MAKEWPARAM(CM_HELPABOUT, MF_STRING),
                 reinterpret_cast<LPARAM>(popup.Get()));
    EXPECT_EQ(bar->Status(), "Display Quillon version information");
    SendMessageA(frame.Handle(), WM_MENUSELECT, MAKEWPARAM(0, MF_SEPARATOR),
                 reinterpret_cast<LPARAM>(popup.Get()));
    EXPECT_EQ(bar->Status(), "");
    SendMessageA(frame.Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(bar->Status(), "Idle") << "closing the menu brings the earlier text back";
    // The hint is the text before the first line break of the command's string.
    EXPECT_EQ(fw::FrameWindow::HintText(CM_PREVIEWNEXT), "Display the page after the one shown");
    EXPECT_EQ(fw::FrameWindow::HintText(IDC_ANSWERFONT), "") << "a tooltip-only text has no hint";
    EXPECT_EQ(fw::FrameWindow::HintText(31998), "") << "no string at all";
}

TEST(Application, PumpReportsTheQuitMessageAndItsCode) {
    fw::Application app("Test");
    EXPECT_EQ(fw::Application::Current(), &app);
    PostQuitMessage(7);
    EXPECT_FALSE(app.PumpWaitingMessages());
    EXPECT_EQ(app.ExitCode(), 7);
    EXPECT_TRUE(app.PumpWaitingMessages());
}

// A dialog from the program's templates that remembers how it ended.
class TemplateDialog : public fw::Dialog {
public:
    TemplateDialog() : fw::Dialog(IDD_ABOUT) {}
    int setups = 0;

protected:
    void SetupWindow() override {
        ++setups;
        if (IsModal()) PostMessageA(Handle(), WM_COMMAND, IDCANCEL, 0);
    }
};

TEST(Dialog, ModalRunsItsOwnLoopUntilEnded) {
    TemplateDialog dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(dialog.setups, 1);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(Dialog, ModelessJoinsTheApplicationLoopForKeyboardNavigation) {
    fw::Application app("Test");
    HWND handle = nullptr;
    {
        TemplateDialog dialog;
        ASSERT_TRUE(dialog.CreateModeless(nullptr));
        handle = dialog.Handle();
        EXPECT_EQ(dialog.setups, 1);
        EXPECT_TRUE(app.IsModeless(handle));
        // Escape reaches the dialog manager through the loop and cancels.
        ShowWindow(handle, SW_SHOW);
        HWND focus = GetNextDlgTabItem(handle, nullptr, FALSE);
        PostMessageA(focus ? focus : handle, WM_KEYDOWN, VK_ESCAPE, 0);
        app.PumpWaitingMessages();
        EXPECT_FALSE(IsWindow(handle)) << "Cancel ends a modeless dialog by destroying it";
        EXPECT_FALSE(app.IsModeless(handle));
    }
    auto second = std::make_unique<TemplateDialog>();
    ASSERT_TRUE(second->CreateModeless(nullptr));
    handle = second->Handle();
    second.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(app.IsModeless(handle)) << "a dialog deleted with its window leaves the loop";
}

TEST(Png, ChunksAndChecksumsAreWellFormed) {
    std::vector<unsigned char> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    auto png = guitest::EncodePng(2, 2, rgb);
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_EQ(png[1], 'P');
    // The image ends with the fixed IEND chunk, whose CRC is well known.
    const unsigned char iend[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    EXPECT_TRUE(std::equal(std::end(iend) - 12, std::end(iend), png.end() - 12));
    // IHDR: width 2, height 2, 8-bit RGB; its CRC for these values is fixed too.
    const unsigned char ihdr[] = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0,    0,    0,    2,   0,
                                  0, 0, 2, 8,  2,   0,   0,   0,   0xFD, 0xD4, 0x9A, 0x73};
    EXPECT_TRUE(std::equal(std::begin(ihdr), std::end(ihdr), png.begin() + 8));
}

} // namespace
