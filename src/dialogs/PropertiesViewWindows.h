#pragma once
// The base of every window laid out from a dialog template: the results view,
// the Indicators windows, Options, Lookup Methods and the About box. It gives
// each a settings name prefix with its own accessors, a remembered position,
// tooltips from the string table, context help, a size grip, controls that
// follow the window's size, context menus for its lists, and the entry points
// of the External Lookup commands. Its controls (the PVW classes) report user
// actions through the overridable notifications below.

#include "context/AppContext.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "layout/DialogLayout.h"
#include "settings/SettingsAccessor.h"
#include "settings/SettingsText.h"

#include <memory>
#include <string>
#include <vector>

class PVWControl;

class PropertiesViewWindows : public fw::Dialog, public SettingsAccessor {
public:
    // One control that follows the window's size.
    struct MoveableControl {
        layout::MoveMode horizontal = layout::MoveMode::Fixed;
        layout::MoveMode vertical = layout::MoveMode::Fixed;
        int horizontalOffset = 0;
        int verticalOffset = 0;
        RECT templateRect{}; // in client coordinates, as created
        HWND control = nullptr;
    };

    PropertiesViewWindows(std::string prefix, AppContext& context, int templateId, bool childView,
                          bool wantTooltips);
    ~PropertiesViewWindows() override;

    AppContext& Context() const { return context_; }
    int TemplateId() const { return templateId_; }
    bool IsChildView() const { return childView_; }
    // The window's own tooltip window or, for tabbed windows, the tab
    // control's; null when there is none.
    HWND ToolTip() const { return tooltip_ ? tooltip_.Get() : sharedTooltip_; }

    // Saves the position, then ends a modal dialog with result or, for a
    // child view, deactivates it.
    virtual void Destroy(INT_PTR result);
    virtual void Activate();
    virtual void Deactivate();
    bool IsActive() const { return activation_ == Activation::Active; }
    // Every child control but Cancel, Help and the never-disabled one.
    void EnableControls(bool enable);

    // Notifications from the PVW controls; the defaults do nothing.
    virtual void ControlCommand(HWND control, int id);
    virtual void EditChanged(HWND control, int id);
    // True cancels the up-down control's change.
    virtual bool UpDownChanging(int delta, int id);
    virtual void ColourChanged(Colour colour, int id);
    virtual void FontChanged(const FontSetting& font, int id);
    virtual void SelectionChanged(int index, int id);
    virtual void SwitchPage(int delta);
    // Tabbed windows: shows the controls of the selected page only.
    virtual void ShowPage();
    virtual void OpenLink(int id, const std::string& address);
    // Asked by an owner-drawn list header: +1 ascending, -1 descending, 0 none.
    virtual int HeaderSortIndicator(int item);
    virtual std::string HeaderTitle(int item);
    // The word External Lookup acts on; empty when there is none.
    virtual std::string GetSelectedWord();
    // Opens the help file at the window's context.
    virtual void Help();
    virtual int HelpContext() const { return templateId_; }
    // A tool for control whose text is the string with the control's id,
    // after its first line break.
    void AddToolTip(HWND control);
    void AddToolTip(int id) { AddToolTip(Item(id)); }

    // Registers a control of the template that follows the window's size;
    // its offsets are taken from the current client rectangle.
    void AddMoveable(int id, layout::MoveMode horizontal, layout::MoveMode vertical);
    // Lays the moveable controls out for the current client size.
    void LayoutMoveables();

    // Control objects announce themselves; SetupWindow attaches them.
    void RegisterControl(PVWControl* control) { controls_.push_back(control); }
    // Marks a control as a link: underlined in the window's font and coloured
    // like an active caption.
    void AddLink(HWND control);

    // A context menu for a list control of the window, at a screen point (or
    // -1,-1 from the keyboard). Returns true when a menu was shown.
    virtual bool ContextMenu(HWND control, POINT screen);
    // The DPI of the screen the window is on.
    int Dpi() const { return dpi_; }
    // The window now shows at another DPI: its controls, the dialog font and
    // the places of the moveable controls are scaled to it, then DpiChanged
    // lets the window scale what else it drew. A top-level window is told by
    // the system; a child view by its frame.
    void ChangeDpi(int dpi);
    void ParentDpiChanged(int dpi) override { ChangeDpi(dpi); }

    // F4, F5 and F6: switching between the view and its Indicators windows.
    // The keys go no further, whether or not the window switches on them.
    virtual void SwitchWindows(UINT key);

    bool PreTranslateMessage(MSG& msg) override;
    bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
    void CommandEnable(fw::CommandEnabler& ce) override;

protected:
    void SetupWindow() override;
    virtual void SetupControls();
    // Fonts, widths and other sizes of the window's own, from one DPI to another.
    virtual void DpiChanged(int oldDpi, int newDpi);
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;

    // External Lookup: the setup dialog (5140), the default method (12710) and
    // the numbered methods (13120..13131), which look up GetSelectedWord when
    // there is one, and filling the submenu before it opens.
    virtual void LookupCommand(UINT id);
    virtual void FillLookupMenu(HMENU popup, bool enable);

    // Accelerators translated for the window before anything else sees a key.
    void SetAccelerators(int tableId);
    // Tooltips go to a tooltip window that another control owns (the tab
    // control of a tabbed window) instead of one of the window's own.
    void UseToolTipWindow(HWND tooltip);

private:
    enum class Activation { Never, Active, Inactive };

    void CreateToolTipWindow();
    void RestorePosition();
    void SavePosition();
    void OnSize(UINT type);
    bool OnPaint();
    void OnHelpRequest(WPARAM key, LPARAM source);
    bool IsLink(HWND control) const;
    INT_PTR OnLinkColour(HDC dc);
    void OnInitMenuPopup(HMENU popup, bool systemMenu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnDpiChangedMessage(int dpi, const RECT& suggested);
    // A control's rectangle in client coordinates (a combo box's with its list).
    RECT ControlRect(HWND control) const;

    AppContext& context_;
    int templateId_;
    bool childView_;
    bool wantTooltips_;
    fw::OwnedWindow tooltip_;
    HWND sharedTooltip_ = nullptr; // not owned
    Activation activation_ = Activation::Never;
    std::vector<std::unique_ptr<MoveableControl>> moveables_;
    std::vector<PVWControl*> controls_;
    std::vector<HWND> links_;
    fw::Font linkFont_;   // the window's font underlined, made for the first link
    fw::Font dialogFont_; // the template's font made again for another DPI
    int dpi_ = 96;
    fw::Accelerators accelerators_;
    bool positionSaved_ = false;
};
