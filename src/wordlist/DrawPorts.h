#pragma once
// What the draw asks of the window it runs in. Each window (Qt, Win32)
// provides these in a few lines; the rules stay in the draw.
#include <optional>
#include <string>
#include <vector>

namespace kivo {

// Values kept between runs: Qt's settings on Linux, the registry on Windows.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Empty when nothing has been stored under `key` yet.
    virtual std::optional<bool> readBool(const std::string& key) = 0;
    virtual void writeBool(const std::string& key, bool value) = 0;
    // Text (UTF-8), kept as it was written.
    virtual std::optional<std::string> readString(const std::string& key) = 0;
    virtual void writeString(const std::string& key, const std::string& value) = 0;
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

// One drawn topic: the entry as its topic box shows it (a blank, then the
// entry's text), and the heading of the section it was drawn from, without
// its brackets; empty when the whole list was drawn from.
struct DrawnTopic {
    std::string text;
    std::string heading;
    bool operator==(const DrawnTopic&) const = default;
};
// The topics of one draw in order: two, or three.
using DrawnTopics = std::vector<DrawnTopic>;

// Where a draw shows its outcome: the plain message box and the topics.
class TopicView {
public:
    virtual ~TopicView() = default;
    virtual void showMessage(const std::string& text) = 0;
    virtual void showTopics(const DrawnTopics& topics) = 0;
};

}  // namespace kivo
