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
