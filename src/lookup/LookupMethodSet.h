// The external lookup methods: up to four of each kind, the default method
// (run by Ctrl+Alt+Enter), the items of the External Lookup submenu, and one
// lookup of a word. The set is edited in place by the Lookup Methods dialog
// and written to the settings only when the user saves it as defaults.
//
// Settings values, one per slot d = 1..4 of each kind (stem + digit):
//
//   kind        enabled (DWORD)          label                  first               second
//   web search  LookupWebSearchEnabled   LookupWebSearchLabel   LookupWebSearchScript  -
//   DDE         LookupDDEEnabled         LookupDDELabel         LookupDDEService    DDETopic
//   message     LookupMessageEnabled     LookupMessageLabel     LookupMessageWindow MessageCommand
//   program     LookupExecEnabled        LookupExecLabel        LookupExecProgram   ExecEncoding
//
// plus "LookupTestWord" and "LookupDefaultLabel". A key without
// LookupTestWord has never been saved: the built-in methods (two web
// searches, four DDE and one message method) fill the slots with no value
// of their own. Any non-zero enabled value enables; a method without a label
// is never enabled after loading.
#pragma once

#include "settings/SettingsStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The order of the kinds is the order of the submenu and of every search
// for a method.
enum class LookupKind : std::uint8_t { WebSearch = 0, DDE = 1, Message = 2, Exec = 3 };
inline constexpr int kLookupKindCount = 4;
inline constexpr int kLookupSlotCount = 4;

struct LookupMethod {
    bool enabled = false;
    std::string label;  // the menu text, "&" marking its mnemonic; compared byte for byte
    std::string first;  // address template, DDE service, window title or program path
    std::string second; // DDE topic, command number or program encoding ("1" = hex)

    friend bool operator==(const LookupMethod&, const LookupMethod&) = default;
};

struct LookupMethodGroup {
    LookupKind kind;
    const char* enabledStem;
    const char* labelStem;
    const char* firstStem;
    const char* secondStem; // null for web searches
    std::array<LookupMethod, kLookupSlotCount> methods;
};

// What a lookup needs of the system, one operation per kind of method.
class LookupPlatform {
public:
    virtual ~LookupPlatform() = default;
    // The shell's "open" on a web address; false when the shell refused it.
    virtual bool OpenAddress(const std::string& address) = 0;
    // One DDE execute transaction of text: 0 delivered, 1 no DDE, 2 no
    // conversation with service and topic, 3 refused or timed out.
    virtual int DdeExecute(const std::string& service, const std::string& topic,
                           const std::string& text) = 0;
    // Finds the top-level window titled title, puts word on the clipboard and
    // sends the window the command; false when there is no such window.
    virtual bool SendCommand(const std::string& title, int command, const std::string& word) = 0;
    // Starts program with the argument (none when empty) without waiting;
    // false when it could not be started.
    virtual bool LaunchProgram(const std::string& program, const std::string& argument) = 0;
};

// One lookup item of the submenu as it should read now.
struct LookupMenuItem {
    unsigned command = 0;
    std::string text;
    bool checked = false; // shown with the radio mark: the default method
    bool enabled = false;

    friend bool operator==(const LookupMenuItem&, const LookupMenuItem&) = default;
};

class LookupMethodSet {
public:
    static constexpr unsigned kDefaultCommand = 12710;     // Ctrl+Alt+Enter
    static constexpr unsigned kFirstMethodCommand = 13120; // enabled method n is this + n
    static constexpr unsigned kMethodCommandCount = 12;
    static constexpr const char* kFirstRunDefault = "&Google";

    // Empty slots, "example" as test word, no default: call Load for the
    // methods of a real program.
    LookupMethodSet();

    // Replaces everything by the stored methods, or the built-in ones where
    // the key has never been saved.
    void Load(SettingsStore& store);
    // Writes all sixteen slots, empty ones included, the test word and the
    // default label.
    void Save(SettingsStore& store) const;

    LookupMethodGroup& Group(LookupKind kind) { return groups_[static_cast<int>(kind)]; }
    const LookupMethodGroup& Group(LookupKind kind) const {
        return groups_[static_cast<int>(kind)];
    }
    // Slot 1..4 of a kind.
    LookupMethod& Method(LookupKind kind, int slot) { return Group(kind).methods.at(slot - 1); }
    const LookupMethod& Method(LookupKind kind, int slot) const {
        return Group(kind).methods.at(slot - 1);
    }

    const std::string& TestWord() const { return testWord_; }
    void SetTestWord(std::string word) { testWord_ = std::move(word); }
    const std::string& DefaultLabel() const { return defaultLabel_; }
    void SetDefaultLabel(std::string label) { defaultLabel_ = std::move(label); }

    // Makes the default label name an enabled method: kept when one has it,
    // else the first enabled method's label, else empty.
    void NormalizeDefault();
    // The submenu's lookup items after NormalizeDefault: one per enabled
    // method in kind and slot order, the default ones checked and followed by
    // defaultSuffix (the accelerator text).
    std::vector<LookupMenuItem> MenuItems(bool enableItems, const std::string& defaultSuffix);

    // Runs the method that command names (the default for kDefaultCommand,
    // enabled method n for kFirstMethodCommand + n) on word; false when no
    // method could run or the request could not be delivered. A pass that
    // finds no method clears the default label; Ctrl+Alt+Enter then tries the
    // first enabled method.
    bool Execute(unsigned command, const std::string& word, LookupPlatform& platform);

private:
    bool Run(LookupKind kind, const LookupMethod& method, const std::string& word,
             LookupPlatform& platform) const;

    std::array<LookupMethodGroup, kLookupKindCount> groups_;
    std::string testWord_;
    std::string defaultLabel_;
};
