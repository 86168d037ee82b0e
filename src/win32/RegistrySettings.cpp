#include "win32/RegistrySettings.h"

#include <windows.h>

#include <string>

#include "win32/Wide.h"

namespace kivo::win32 {

namespace {
constexpr const wchar_t* kSettingsKey = L"Software\\Quillery\\Kivo";

void writeValue(const std::string& key, DWORD type, const void* data, DWORD size) {
    HKEY settings = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &settings, nullptr) != ERROR_SUCCESS) {
        return;  // a setting that cannot be kept is not worth an error box
    }
    RegSetValueExW(settings, wide(key).c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(settings);
}
}  // namespace

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
    const DWORD data = value ? 1 : 0;
    writeValue(key, REG_DWORD, &data, sizeof(data));
}

std::optional<std::string> RegistrySettings::readString(const std::string& key) {
    const std::wstring name = wide(key);
    // Asked for its size first; another program may change it in between,
    // so once more when it has grown.
    for (int tries = 0; tries < 3; ++tries) {
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(),
                                            RRF_RT_REG_SZ, nullptr, text.data(), &got);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        // The size counts the terminating NUL.
        text.resize(got / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        return utf8(text);
    }
    return std::nullopt;
}

void RegistrySettings::writeString(const std::string& key, const std::string& value) {
    const std::wstring text = wide(value);
    writeValue(key, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LocalTime LocalClock::now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace kivo::win32
