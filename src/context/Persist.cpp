#include "context/Persist.h"

#include <cstring>
#include <vector>

namespace {
constexpr REGSAM kReadAccess = KEY_READ;                                       // 0x20019
constexpr REGSAM kWriteAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE; // 0x2001F
} // namespace

Persist::Persist(const std::string& keyPath, PersistMode mode) : mode_(mode) {
    HKEY key = nullptr;
    LONG result;
    if (mode == PersistMode::Read) {
        result = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, kReadAccess, &key);
    } else {
        char noClass[] = "";
        DWORD disposition = 0;
        result =
            RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                            kWriteAccess, nullptr, &key, &disposition);
    }
    if (result == ERROR_SUCCESS) key_ = key;
}

Persist::~Persist() {
    if (key_) RegCloseKey(key_);
}

bool Persist::ReadInt(const std::string& name, int& value) {
    if (!key_) return false;
    // A value shorter than 4 bytes leaves the rest of the buffer zero.
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
        return false;
    std::uint32_t raw = 0;
    std::memcpy(&raw, bytes, sizeof raw);
    value = static_cast<int>(raw);
    return true;
}

bool Persist::ReadString(const std::string& name, std::string& text) {
    if (!key_) return false;
    // Stored data need not end in a NUL (a REG_BINARY or a carelessly written
    // REG_SZ), so one byte beyond the buffer is kept for a terminator.
    std::vector<char> buffer(kSettingsTextBuffer + 1, '\0');
    DWORD size = static_cast<DWORD>(kSettingsTextBuffer);
    if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return false;
    buffer[size <= kSettingsTextBuffer ? size : kSettingsTextBuffer] = '\0';
    text = buffer.data();
    return true;
}

void Persist::WriteInt(const std::string& name, int value) {
    if (!key_) return;
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof data);
}

void Persist::WriteString(const std::string& name, const std::string& text) {
    if (!key_) return;
    RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

std::unique_ptr<SettingsKey> RegistrySettingsStore::Open(PersistMode mode) {
    return std::make_unique<Persist>(keyPath_, mode);
}

SettingsStore& RegistrySettings() {
    static RegistrySettingsStore store;
    return store;
}
