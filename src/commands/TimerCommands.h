#pragma once
// The countdown's commands: its length (the presets of ツール › タイマー,
// or the user's own), start and pause (T in the view), reset (R), the
// switch that starts it with each draw, and the clock's wake-ups that move
// it on. What it shows goes to the presentation view and the stream's
// timer file.
#include <cstdint>
#include <optional>
#include <span>

#include "commands/Countdown.h"
#include "commands/Ports.h"
#include "commands/ShareCommands.h"
#include "commands/TopicCommands.h"

namespace kivo {

// Where the length (0 for none) and the switch are kept between runs.
inline constexpr const char* kTimerMinutesSetting = "Timer/Minutes";
inline constexpr const char* kTimerWithDrawSetting = "Timer/StartWithDraw";
inline constexpr const char* kNoTimerLengthText =
    "タイマーの時間が選ばれていません。ツール › タイマー で時間を選んで下さい";

// The menu's presets, each with its command.
struct TimerPreset {
    CommandId command;
    int minutes;
};
std::span<const TimerPreset> timerPresets();

class TimerCommands : public TopicsObserver {
public:
    // Reads the length and the switch from `settings`; every port must
    // outlive the commands. Follows the topics from now on.
    TimerCommands(TopicCommands& topics, PresentationPort& view, CountdownClockPort& clock,
                  ShareDialogPort& dialog, BoxPort& boxes, SettingsStore& settings,
                  ShareCommands& share);

    // 0 for none: the countdown stops at the new length.
    void setMinutes(int minutes);
    int minutes() const { return minutes_; }
    // The user's own length, asked for in a box.
    void askMinutes();
    // The item of the length chosen, among the presets and the user's own.
    CommandId checkedLength() const;
    void setStartWithDraw(bool on);
    bool startWithDraw() const { return withDraw_; }

    // T: starts, pauses, or starts again from the full length at zero.
    void startOrPause();
    // R: stopped at the full length.
    void reset();
    // A wake-up the clock was asked for.
    void clockTicked();
    const Countdown& countdown() const { return countdown_; }

    void topicsShown(const DrawnTopics& topics) override;
    void topicsCleared() override {}

    // Shows the face as it now is (the session's start).
    void show();

private:
    PresentationPort& view_;
    CountdownClockPort& clock_;
    ShareDialogPort& dialog_;
    BoxPort& boxes_;
    SettingsStore& settings_;
    ShareCommands& share_;
    Countdown countdown_;
    int minutes_ = 0;
    bool withDraw_ = false;
    std::optional<CountdownFace> shown_;  // nothing before the first show
};

}  // namespace kivo
