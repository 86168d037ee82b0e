#pragma once
// What the program keeps between runs, in the registry, and the local
// clock, as the draw asks for them.
#include "wordlist/DrawPorts.h"

namespace kivo::win32 {

// The registry under HKEY_CURRENT_USER\Software\Quillery\Kivo.
class RegistrySettings : public SettingsStore {
public:
    std::optional<bool> readBool(const std::string& key) override;
    void writeBool(const std::string& key, bool value) override;
    // REG_SZ values, UTF-16 in the registry.
    std::optional<std::string> readString(const std::string& key) override;
    void writeString(const std::string& key, const std::string& value) override;
};

class LocalClock : public WallClock {
public:
    LocalTime now() override;
};

}  // namespace kivo::win32
