#pragma once
// What the draw asks of the window it runs in. Each window (Qt, Win32)
// provides these in a few lines; the rules stay in the draw.
#include <optional>
#include <string>

namespace kivo {

// Values kept between runs: Qt's settings on Linux, the registry on Windows.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Empty when nothing has been stored under `key` yet.
    virtual std::optional<bool> readBool(const std::string& key) = 0;
    virtual void writeBool(const std::string& key, bool value) = 0;
};

// A local date and time of day, to the second.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The user's wall clock, for the times in the history of draws.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual LocalTime now() = 0;
};

// Where a draw shows its outcome: the plain message box and the two topics.
class TopicView {
public:
    virtual ~TopicView() = default;
    virtual void showMessage(const std::string& text) = 0;
    virtual void showTopics(const std::string& topic1, const std::string& topic2) = 0;
};

}  // namespace kivo
