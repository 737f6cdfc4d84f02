#pragma once
// The control classes of template-based windows. Each wraps one control of
// the template by its identifier, is attached when the owner is set up, and
// reports what the user did to the owner through its notifications.

#include "framework/Handles.h"
#include "framework/Window.h"
#include "settings/SettingsText.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

class PropertiesViewWindows;

// Common base: the owner, the identifier and attaching to the template's control.
class PVWControl : public fw::Window {
public:
    PVWControl(PropertiesViewWindows& owner, int id);
    int Id() const { return id_; }
    PropertiesViewWindows& Owner() const { return owner_; }
    // Subclasses the control with this identifier in the owner's window.
    void AttachControl(HWND dialog);

protected:
    PropertiesViewWindows& owner_;
    int id_;
};

// A push button: ControlCommand when clicked.
class PVWPushButton : public PVWControl {
public:
    using PVWControl::PVWControl;

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A check box (two- or three-state): ControlCommand when clicked.
class PVWCheckBox : public PVWControl {
public:
    using PVWControl::PVWControl;
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int State() const;
    void SetState(int state) const;

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// An edit: EditChanged only for the user's changes, never for SetText.
class PVWEdit : public PVWControl {
public:
    using PVWControl::PVWControl;
    void SetEditText(const std::string& text);

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool settingText_ = false;
    bool reporting_ = false;
};

// Static text, or an edit used only to show text: reports nothing.
class PVWStatic : public PVWControl {
public:
    using PVWControl::PVWControl;
};

// A drop-down list (or drop-down combo) of recently used names. Each entry
// shows the short form of its name and keeps the full name as its data.
class PVWCombo : public PVWControl {
public:
    using PVWControl::PVWControl;
    ~PVWCombo() override;
    // Adds name at the end unless present; with select, moves a present entry
    // (any case) to the top, or inserts it there, and selects it.
    void Add(const std::string& name, bool select);
    void Remove(const std::string& name);
    void Clear();
    int Count() const;
    std::string FullName(int index) const;
    std::string ShownText(int index) const;
    std::optional<std::string> GetSelectedName() const;
    // Entries show the full name instead of the short form (answer history).
    void ShowFullNames(bool full) { fullNames_ = full; }

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int FindFromEnd(const std::string& name) const;
    void DeleteEntry(int index);
    int Insert(int at, const std::string& name);
    void NotifySelection();
    bool fullNames_ = false;
    bool choicePending_ = false; // the selection moved while the list was open
};

// A solid brush of one colour; made again when the colour changes.
class PVWBrush {
public:
    explicit PVWBrush(COLORREF colour = RGB(255, 255, 255)) { SetColour(colour); }
    void SetColour(COLORREF colour);
    COLORREF Colour() const { return colour_; }
    HBRUSH Get() const { return brush_.Get(); }

private:
    COLORREF colour_ = 0;
    fw::Brush brush_;
};

// Orders two items of a list by their item data (the lParam each was given):
// negative when a comes first, positive when b does, 0 when they are equal.
class ListItemComparer {
public:
    virtual ~ListItemComparer() = default;
    virtual int Compare(LPARAM a, LPARAM b) const = 0;
};

// A report list view whose header items can be owner-drawn: the owner gives
// each item's title and sort indicator.
class PVWListWindow : public PVWControl {
public:
    using PVWControl::PVWControl;
    void MakeHeaderOwnerDrawn(int columnCount);
    HWND Header() const;
    int SelectedCount() const;
    int FocusedItem() const;
    std::vector<std::size_t> SelectedItems() const;
    RECT ItemRect(int item) const;
    int ColumnWidth(int column) const;
    // Reorders the items with comparer, which sees the items' data.
    void SortItems(const ListItemComparer& comparer) const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawHeaderItem(const DRAWITEMSTRUCT& item);
};

// An owner-drawn button that draws what it holds and opens a system chooser
// when clicked.
class PVWChooserButton : public PVWControl {
public:
    PVWChooserButton(PropertiesViewWindows& owner, int id, bool framed)
        : PVWControl(owner, id), framed_(framed) {}

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) final;
    virtual void Draw(const DRAWITEMSTRUCT& item) const = 0;
    virtual void Choose() = 0;

    bool framed_;
};

// An owner-drawn button that shows a colour swatch; a click opens the system
// Choose Color dialog (titled from the label before the button) and reports
// ColourChanged when the user picks one.
class PVWColourButton : public PVWChooserButton {
public:
    PVWColourButton(PropertiesViewWindows& owner, int id, bool framed = true);
    Colour GetColour() const { return colour_; }
    void SetColour(Colour colour);
    // The 16 custom colours of every Choose Color dialog the program opens:
    // what the user defines there stays until the program ends.
    static COLORREF* CustomColours();

private:
    void Draw(const DRAWITEMSTRUCT& item) const override;
    void Choose() override;

    Colour colour_ = 0;
};

// An owner-drawn button that shows a sample text in a font on a background; a
// click opens the system Choose Font dialog (titled from the label before the
// button) and reports FontChanged when the user picks a font.
class PVWFontButton : public PVWChooserButton {
public:
    // chooseFlags are the CF_ options of the Choose Font dialog; the chosen
    // height and width are multiplied by the scales. Font sizes are kept in
    // 96-DPI pixels and drawn at the owner's DPI.
    PVWFontButton(PropertiesViewWindows& owner, int id, std::string sample, DWORD chooseFlags,
                  double heightScale = 1.0, double widthScale = 1.0, bool framed = true);
    const FontSetting& GetFont() const { return font_; }
    void SetFont(const FontSetting& font, Colour background);
    // A new background under the same sample (the result background colour).
    void SetBackground(Colour background);

private:
    void Draw(const DRAWITEMSTRUCT& item) const override;
    void Choose() override;
    // The sample's font at the owner's DPI, made again when that changes.
    HFONT SampleFont() const;

    std::string sample_;
    DWORD chooseFlags_;
    double heightScale_;
    double widthScale_;
    FontSetting font_;
    Colour background_ = 0xFFFFFF;
    mutable fw::Font hfont_;
    mutable int fontDpi_ = 0; // the DPI hfont_ was made for
};

// A drop-down list whose entries are string-table texts, in the order of the
// identifiers given: SelectionChanged with the index the user picks.
class PVWEnumeration : public PVWControl {
public:
    PVWEnumeration(PropertiesViewWindows& owner, int id, std::vector<int> stringIds);
    void SetSelection(int index) const;
    // -1 when nothing is selected.
    int GetSelection() const;

protected:
    void SetupWindow() override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::vector<int> stringIds_;
};

// A read-only edit that looks and acts like a hyperlink: it shows its
// address (a mail link shows the bare mailbox) and asks the owner to open
// the full address on a click that does not drag, or on Enter or Space.
class PVWURL : public PVWControl {
public:
    PVWURL(PropertiesViewWindows& owner, int id, std::string address);
    const std::string& Address() const { return address_; }

protected:
    void SetupWindow() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Open();
    void DrawFocus() const;

    std::string address_;
    bool pressed_ = false;
    POINT pressedAt_{};
};

// The tab control of a tabbed window. Clicking a tab, or the arrow keys with
// the focus on the strip (wrapping at both ends), changes the page; each tab's
// tooltip is its page's tooltip string.
class PVWTabs : public PVWControl {
public:
    using PVWControl::PVWControl;
    // The tooltip text of each tab, by index; every tab gets a tool in the
    // tab control's tooltip window.
    void SetTabTips(std::vector<std::string> tips);
    int Selection() const;
    // Answers a tooltip's request for a tab's text; false for other requests.
    bool AnswerTipRequest(NMHDR* request);

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Step(int delta);

    std::vector<std::string> tips_;
    std::wstring wideTip_; // the answer to a request in wide characters
    bool relay_ = false;   // the tooltip hears of the mouse from us
};
