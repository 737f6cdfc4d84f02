// The settings of one window. Every value a window keeps is stored under the
// window's name prefix followed by the value name ("Wordplay" + "MaxPieces"
// is WordplayMaxPieces), so windows never collide in the one settings key.
// Each call opens the key, does its single read or write and closes it again;
// nothing is cached, so two windows with the same prefix always agree.
// Windows (the main frame, the template-based views) inherit this class.
#pragma once

#include "settings/SettingsStore.h"

#include <string>

class SettingsAccessor {
public:
    SettingsAccessor(std::string prefix, SettingsStore& store)
        : prefix_(std::move(prefix)), store_(&store) {}

    const std::string& SettingsPrefix() const { return prefix_; }
    SettingsStore& Settings() const { return *store_; }

    // The stored value, or fallback when the key or the value is missing.
    int GetSettingInt(const std::string& name, int fallback) const;
    std::string GetSettingString(const std::string& name, const std::string& fallback) const;
    void SetSettingInt(const std::string& name, int value) const;
    void SetSettingString(const std::string& name, const std::string& text) const;

    // The name of entry index of an indexed value: name followed by the
    // decimal index ("ColumnWidth" and 2 give "ColumnWidth2").
    static std::string IndexedName(const std::string& name, int index);

private:
    std::string prefix_;
    SettingsStore* store_;
};
