// The settings key in the registry: "Software\Marbleton\Quillonex 1.1" under
// HKEY_CURRENT_USER. A Persist opens the key in its constructor and closes it
// in its destructor, so it is made as a local object around a few reads or
// writes and never kept. Integers are REG_DWORD, texts REG_SZ in the ANSI code
// page with the terminator counted in the stored length; reads ignore the
// stored type.
#pragma once

#include "settings/SettingsStore.h"

#include <windows.h>

#include <string>

class Persist : public SettingsKey {
public:
    // Read mode opens an existing key; write mode opens or creates it. When
    // that fails the key stays closed and every access quietly does nothing.
    Persist(const std::string& keyPath, PersistMode mode);
    ~Persist() override;

    bool IsOpen() const override { return key_ != nullptr; }
    PersistMode Mode() const { return mode_; }
    bool ReadInt(const std::string& name, int& value) override;
    bool ReadString(const std::string& name, std::string& text) override;
    void WriteInt(const std::string& name, int value) override;
    void WriteString(const std::string& name, const std::string& text) override;

private:
    PersistMode mode_;
    HKEY key_ = nullptr;
};

// The registry as a SettingsStore, for code written against the interface.
class RegistrySettingsStore : public SettingsStore {
public:
    // keyPath defaults to SettingsKeyPath(); tests give a scratch key.
    explicit RegistrySettingsStore(std::string keyPath = SettingsKeyPath())
        : keyPath_(std::move(keyPath)) {}
    std::unique_ptr<SettingsKey> Open(PersistMode mode) override;

private:
    std::string keyPath_;
};

// The program's one registry store.
SettingsStore& RegistrySettings();
