#pragma once
// What the program keeps between runs, in Qt's settings
// (~/.config/Kivo/Kivo.conf), and the local clock, as the draw asks for them.
#include "wordlist/DrawPorts.h"

namespace kivo {

class QtSettingsStore : public SettingsStore {
public:
    std::optional<bool> readBool(const std::string& key) override;
    void writeBool(const std::string& key, bool value) override;
    std::optional<std::string> readString(const std::string& key) override;
    void writeString(const std::string& key, const std::string& value) override;
};

class LocalClock : public WallClock {
public:
    LocalTime now() override;
};

}  // namespace kivo
