#include "win32/RegistrySettings.h"

#include <windows.h>

#include "win32/Wide.h"

namespace kivo::win32 {

namespace {
constexpr const wchar_t* kSettingsKey = L"Software\\Quillery\\Kivo";
}

std::optional<bool> RegistrySettings::readBool(const std::string& key) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, wide(key).c_str(), RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value != 0;
}

void RegistrySettings::writeBool(const std::string& key, bool value) {
    HKEY settings = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &settings, nullptr) != ERROR_SUCCESS) {
        return;  // a setting that cannot be kept is not worth an error box
    }
    const DWORD data = value ? 1 : 0;
    RegSetValueExW(settings, wide(key).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof(data));
    RegCloseKey(settings);
}

LocalTime LocalClock::now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace kivo::win32
