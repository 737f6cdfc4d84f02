#include "settings/SettingsStore.h"

#include <algorithm>
#include <cstring>

const std::string& SettingsKeyPath() {
    static const std::string path = "Software\\Marbleton\\Quillonex 1.1";
    return path;
}

namespace {
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool MemorySettingsStore::NoCase::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    });
}

// One open key of a memory store; the store must outlive it.
class MemorySettingsStore::Key : public SettingsKey {
public:
    Key(MemorySettingsStore& store, bool open) : store_(store), open_(open) {
        ++store_.openCount_;
        ++store_.liveKeys_;
    }
    ~Key() override { --store_.liveKeys_; }

    bool IsOpen() const override { return open_; }

    bool ReadInt(const std::string& name, int& value) override {
        const Value* v = open_ ? store_.Find(name) : nullptr;
        if (!v || v->data.size() > 4) return false;
        std::uint8_t bytes[4] = {};
        std::copy(v->data.begin(), v->data.end(), bytes);
        value = static_cast<int>(static_cast<std::uint32_t>(bytes[0]) |
                                 static_cast<std::uint32_t>(bytes[1]) << 8 |
                                 static_cast<std::uint32_t>(bytes[2]) << 16 |
                                 static_cast<std::uint32_t>(bytes[3]) << 24);
        return true;
    }

    bool ReadString(const std::string& name, std::string& text) override {
        const Value* v = open_ ? store_.Find(name) : nullptr;
        if (!v || v->data.size() > kSettingsTextBuffer) return false;
        const auto* bytes = reinterpret_cast<const char*>(v->data.data());
        text.assign(bytes, strnlen(bytes, v->data.size()));
        return true;
    }

    void WriteInt(const std::string& name, int value) override {
        if (!open_) return;
        const auto u = static_cast<std::uint32_t>(value);
        store_.values_[name] =
            Value{ValueType::Dword,
                  {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                   static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)}};
    }

    void WriteString(const std::string& name, const std::string& text) override {
        if (!open_) return;
        Value v{ValueType::Text, std::vector<std::uint8_t>(text.begin(), text.end())};
        v.data.push_back(0);
        store_.values_[name] = std::move(v);
    }

private:
    MemorySettingsStore& store_;
    bool open_;
};

std::unique_ptr<SettingsKey> MemorySettingsStore::Open(PersistMode mode) {
    bool open = keyExists_;
    if (mode == PersistMode::Write && !denyWrites_) {
        keyExists_ = true;
        open = true;
    } else if (mode == PersistMode::Write) {
        open = false;
    }
    return std::make_unique<Key>(*this, open);
}

void MemorySettingsStore::SetRaw(const std::string& name, Value value) {
    keyExists_ = true;
    values_[name] = std::move(value);
}

const MemorySettingsStore::Value* MemorySettingsStore::Find(const std::string& name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? nullptr : &it->second;
}
