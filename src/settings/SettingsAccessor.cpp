#include "settings/SettingsAccessor.h"

int SettingsAccessor::GetSettingInt(const std::string& name, int fallback) const {
    int value = fallback;
    store_->Open(PersistMode::Read)->ReadInt(prefix_ + name, value);
    return value;
}

std::string SettingsAccessor::GetSettingString(const std::string& name,
                                               const std::string& fallback) const {
    std::string text = fallback;
    store_->Open(PersistMode::Read)->ReadString(prefix_ + name, text);
    return text;
}

void SettingsAccessor::SetSettingInt(const std::string& name, int value) const {
    store_->Open(PersistMode::Write)->WriteInt(prefix_ + name, value);
}

void SettingsAccessor::SetSettingString(const std::string& name, const std::string& text) const {
    store_->Open(PersistMode::Write)->WriteString(prefix_ + name, text);
}

std::string SettingsAccessor::IndexedName(const std::string& name, int index) {
    return name + std::to_string(index);
}
