// Where settings live, seen from code that must not know it is the registry.
// A SettingsKey is the settings key opened for one short operation (a few
// reads or writes) and closed when it is destroyed; a SettingsStore opens
// one. On Windows the store is the registry (Persist.h); tests and the
// portable programs use MemorySettingsStore, which behaves like the registry
// in the ways callers can observe: typed values, names compared without
// regard to case, a key that exists only after the first write, and reads
// of the wrong size that count as absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class PersistMode : std::uint8_t { Read = 0, Write = 1 };

// "Software\Marbleton\Quillonex 1.1" under the current user; formed once.
const std::string& SettingsKeyPath();

// A text value is read through a buffer of this many bytes, terminator
// included; a longer value counts as absent.
inline constexpr std::size_t kSettingsTextBuffer = 65536;

// One open settings key. A key that could not be opened reads nothing and
// drops writes: a failed read sends the caller to its default, a failed
// write is not reported.
class SettingsKey {
public:
    virtual ~SettingsKey() = default;
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    virtual bool IsOpen() const = 0;
    // Leaves value untouched and answers false when the value is absent or
    // holds more than 4 bytes; a shorter value is padded with zero bytes.
    virtual bool ReadInt(const std::string& name, int& value) = 0;
    // Leaves text untouched and answers false when absent or too long; the
    // text ends at the first NUL of the stored data.
    virtual bool ReadString(const std::string& name, std::string& text) = 0;
    virtual void WriteInt(const std::string& name, int value) = 0;
    virtual void WriteString(const std::string& name, const std::string& text) = 0;

protected:
    SettingsKey() = default;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Read mode opens an existing key; write mode creates it if need be.
    virtual std::unique_ptr<SettingsKey> Open(PersistMode mode) = 0;

protected:
    SettingsStore() = default;
};

// The settings key kept in memory, with the registry's observable rules.
class MemorySettingsStore : public SettingsStore {
public:
    enum class ValueType : std::uint8_t { Dword, Text };
    struct Value {
        ValueType type = ValueType::Text;
        std::vector<std::uint8_t> data; // as stored: a text includes its NUL
    };

    MemorySettingsStore() = default;

    std::unique_ptr<SettingsKey> Open(PersistMode mode) override;

    // Simulates a key that may not be created or written (access denied).
    void DenyWrites(bool deny) { denyWrites_ = deny; }
    bool KeyExists() const { return keyExists_; }
    // Keys opened so far and keys still open: every access should leave the
    // second at zero.
    int OpenCount() const { return openCount_; }
    int LiveKeys() const { return liveKeys_; }

    // Direct access for tests, bypassing keys.
    void SetRaw(const std::string& name, Value value);
    const Value* Find(const std::string& name) const;
    std::size_t ValueCount() const { return values_.size(); }

private:
    class Key;
    struct NoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    std::map<std::string, Value, NoCase> values_;
    bool keyExists_ = false;
    bool denyWrites_ = false;
    int openCount_ = 0;
    int liveKeys_ = 0;
};
