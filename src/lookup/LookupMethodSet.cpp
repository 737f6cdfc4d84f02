#include "lookup/LookupMethodSet.h"

#include "lookup/LookupText.h"

namespace {

// The methods a first run starts with. Only the web searches are enabled:
// the dictionary programs they name are rarely installed.
struct BuiltIn {
    LookupKind kind;
    int slot;
    const char* label;
    const char* first;
    const char* second;
};
constexpr BuiltIn kBuiltIns[] = {
    {LookupKind::WebSearch, 1, "&Google", "https://www.google.com/search?q=%22{entry}%22", ""},
    {LookupKind::WebSearch, 2, "&OneLook", "https://www.onelook.com/?w={entry}&ls=a", ""},
    {LookupKind::DDE, 1, "&Chambers", "CompLex", "WinWord"},
    {LookupKind::DDE, 2, "O&xford Compendium", "Oxford", "WinWord"},
    {LookupKind::DDE, 3, "&AND Compendium", "CompLex3", "WinWord6"},
    {LookupKind::DDE, 4, "S&horter Oxford", "NewSOED", "WinWord6"},
    {LookupKind::Message, 1, "A&merican Heritage", "The American Heritage Dictionary", "2026"},
};

const BuiltIn* FindBuiltIn(LookupKind kind, int slot) {
    for (const BuiltIn& b : kBuiltIns)
        if (b.kind == kind && b.slot == slot) return &b;
    return nullptr;
}

// The value name of a slot: the stem followed by the slot's digit.
std::string ValueName(const char* stem, int slot) {
    std::string name(stem);
    name += static_cast<char>('0' + slot);
    return name;
}

// A program method's encoding when none is stored: the word as it is.
const std::string kNoEncoding(1, '0');

constexpr LookupKind kKinds[] = {LookupKind::WebSearch, LookupKind::DDE, LookupKind::Message,
                                 LookupKind::Exec};

} // namespace

LookupMethodSet::LookupMethodSet()
    : groups_{{
          {LookupKind::WebSearch,
           "LookupWebSearchEnabled",
           "LookupWebSearchLabel",
           "LookupWebSearchScript",
           nullptr,
           {}},
          {LookupKind::DDE,
           "LookupDDEEnabled",
           "LookupDDELabel",
           "LookupDDEService",
           "DDETopic",
           {}},
          {LookupKind::Message,
           "LookupMessageEnabled",
           "LookupMessageLabel",
           "LookupMessageWindow",
           "MessageCommand",
           {}},
          {LookupKind::Exec,
           "LookupExecEnabled",
           "LookupExecLabel",
           "LookupExecProgram",
           "ExecEncoding",
           {}},
      }},
      testWord_("example") {
    for (LookupMethod& m : Group(LookupKind::Exec).methods)
        m.second = kNoEncoding;
}

void LookupMethodSet::Load(SettingsStore& store) {
    testWord_ = "example";
    defaultLabel_.clear();
    const auto key = store.Open(PersistMode::Read);
    const bool firstRun = !key->ReadString("LookupTestWord", testWord_);
    for (LookupMethodGroup& group : groups_) {
        for (int slot = 1; slot <= kLookupSlotCount; ++slot) {
            LookupMethod& m = group.methods[slot - 1];
            const BuiltIn* builtIn = firstRun ? FindBuiltIn(group.kind, slot) : nullptr;
            m = LookupMethod{};
            if (!key->ReadString(ValueName(group.labelStem, slot), m.label) && builtIn)
                m.label = builtIn->label;
            if (!key->ReadString(ValueName(group.firstStem, slot), m.first) && builtIn)
                m.first = builtIn->first;
            if (group.secondStem && !key->ReadString(ValueName(group.secondStem, slot), m.second)) {
                if (builtIn)
                    m.second = builtIn->second;
                else if (group.kind == LookupKind::Exec)
                    m.second = kNoEncoding;
            }
            if (m.label.empty()) continue; // a method without a name stays off
            int enabled = 0;
            if (key->ReadInt(ValueName(group.enabledStem, slot), enabled))
                m.enabled = enabled != 0;
            else
                m.enabled = builtIn && group.kind == LookupKind::WebSearch;
        }
    }
    if (!key->ReadString("LookupDefaultLabel", defaultLabel_) && firstRun)
        defaultLabel_ = kFirstRunDefault;
}

void LookupMethodSet::Save(SettingsStore& store) const {
    const auto key = store.Open(PersistMode::Write);
    for (const LookupMethodGroup& group : groups_) {
        for (int slot = 1; slot <= kLookupSlotCount; ++slot) {
            const LookupMethod& m = group.methods[slot - 1];
            key->WriteInt(ValueName(group.enabledStem, slot), m.enabled ? 1 : 0);
            key->WriteString(ValueName(group.labelStem, slot), m.label);
            key->WriteString(ValueName(group.firstStem, slot), m.first);
            if (group.secondStem) key->WriteString(ValueName(group.secondStem, slot), m.second);
        }
    }
    key->WriteString("LookupTestWord", testWord_);
    key->WriteString("LookupDefaultLabel", defaultLabel_);
}

void LookupMethodSet::NormalizeDefault() {
    const LookupMethod* first = nullptr;
    for (const LookupMethodGroup& group : groups_)
        for (const LookupMethod& m : group.methods) {
            if (!m.enabled) continue;
            if (m.label == defaultLabel_) return;
            if (!first) first = &m;
        }
    defaultLabel_ = first ? first->label : std::string();
}

std::vector<LookupMenuItem> LookupMethodSet::MenuItems(bool enableItems,
                                                       const std::string& defaultSuffix) {
    NormalizeDefault();
    std::vector<LookupMenuItem> items;
    unsigned position = 0;
    for (const LookupMethodGroup& group : groups_)
        for (const LookupMethod& m : group.methods) {
            if (!m.enabled) continue;
            const bool isDefault = m.label == defaultLabel_;
            items.push_back({kFirstMethodCommand + position,
                             isDefault ? m.label + defaultSuffix : m.label, isDefault,
                             enableItems});
            ++position;
        }
    return items;
}

bool LookupMethodSet::Execute(unsigned command, const std::string& word, LookupPlatform& platform) {
    const bool byDefault = command == kDefaultCommand;
    if (!byDefault &&
        (command < kFirstMethodCommand || command >= kFirstMethodCommand + kMethodCommandCount))
        return false;
    for (int pass = 0; pass < 2; ++pass) {
        unsigned n = 0;
        for (const LookupKind kind : kKinds)
            for (const LookupMethod& m : Group(kind).methods) {
                if (!m.enabled) continue;
                bool matches = false;
                if (byDefault)
                    matches = defaultLabel_.empty() || defaultLabel_ == m.label;
                else
                    matches = command == kFirstMethodCommand + n++;
                // A web search without an address cannot run; the next may.
                if (matches && kind == LookupKind::WebSearch && m.first.empty()) continue;
                if (matches) return Run(kind, m, word, platform);
            }
        defaultLabel_.clear();
        if (!byDefault) break;
    }
    return false;
}

bool LookupMethodSet::Run(LookupKind kind, const LookupMethod& m, const std::string& word,
                          LookupPlatform& platform) const {
    switch (kind) {
    case LookupKind::WebSearch:
        return platform.OpenAddress(ExpandTemplate(m.first, WebEncode(word)));
    case LookupKind::DDE:
        return platform.DdeExecute(m.first, m.second, word) == 0;
    case LookupKind::Message:
        return platform.SendCommand(m.first, CommandNumber(m.second), word);
    case LookupKind::Exec:
        return platform.LaunchProgram(m.first, m.second == "1" ? HexEncode(word) : word);
    }
    return false;
}
