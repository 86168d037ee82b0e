#include "commands/TimerCommands.h"

#include <algorithm>
#include <string>

namespace kivo {
namespace {

constexpr TimerPreset kPresets[] = {
    {CommandId::TimerOff, 0},        {CommandId::Timer1Minute, 1},
    {CommandId::Timer3Minutes, 3},   {CommandId::Timer5Minutes, 5},
    {CommandId::Timer10Minutes, 10}, {CommandId::Timer15Minutes, 15},
    {CommandId::Timer30Minutes, 30}, {CommandId::Timer60Minutes, 60},
};

int readMinutes(SettingsStore& settings) {
    const std::optional<std::string> kept = settings.readString(kTimerMinutesSetting);
    if (!kept) return 0;
    try {
        const int minutes = std::stoi(*kept);
        return minutes >= kFewestTimerMinutes && minutes <= kMostTimerMinutes ? minutes : 0;
    } catch (const std::exception&) {
        return 0;  // a value edited by hand into something else: no timer
    }
}

}  // namespace

std::span<const TimerPreset> timerPresets() { return kPresets; }

TimerCommands::TimerCommands(TopicCommands& topics, PresentationPort& view,
                             CountdownClockPort& clock, ShareDialogPort& dialog, BoxPort& boxes,
                             SettingsStore& settings, ShareCommands& share)
    : view_(view),
      clock_(clock),
      dialog_(dialog),
      boxes_(boxes),
      settings_(settings),
      share_(share),
      minutes_(readMinutes(settings)),
      withDraw_(settings.readBool(kTimerWithDrawSetting).value_or(false)) {
    countdown_.setLength(std::int64_t{minutes_} * 60000);
    topics.current().observe(*this);
}

void TimerCommands::setMinutes(int minutes) {
    minutes_ = std::clamp(minutes, 0, kMostTimerMinutes);
    settings_.writeString(kTimerMinutesSetting, std::to_string(minutes_));
    countdown_.setLength(std::int64_t{minutes_} * 60000);
    show();
}

void TimerCommands::askMinutes() {
    const std::optional<int> minutes = dialog_.askTimerMinutes(minutes_ > 0 ? minutes_ : 5);
    if (minutes) setMinutes(*minutes);
}

CommandId TimerCommands::checkedLength() const {
    for (const TimerPreset& preset : kPresets) {
        if (preset.minutes == minutes_) return preset.command;
    }
    return CommandId::TimerOwnLength;
}

void TimerCommands::setStartWithDraw(bool on) {
    withDraw_ = on;
    settings_.writeBool(kTimerWithDrawSetting, on);
}

void TimerCommands::startOrPause() {
    if (!countdown_.isSet()) return boxes_.message(kNoTimerLengthText);
    const std::int64_t now = clock_.milliseconds();
    if (countdown_.running() && !countdown_.finished(now)) {
        countdown_.pause(now);
    } else {
        countdown_.start(now);
    }
    show();
}

void TimerCommands::reset() {
    countdown_.reset();
    show();
}

void TimerCommands::clockTicked() { show(); }

void TimerCommands::topicsShown(const DrawnTopics&) {
    if (!withDraw_ || !countdown_.isSet()) return;
    countdown_.reset();
    countdown_.start(clock_.milliseconds());
    show();
}

void TimerCommands::show() {
    const std::int64_t now = clock_.milliseconds();
    const CountdownFace face = countdown_.face(now);
    if (face != shown_) {
        const bool textChanged = !shown_ || face.text != shown_->text;
        shown_ = face;
        view_.showCountdown(face);
        if (textChanged) {
            share_.timerChanged(face.text);
            // 0:00 shows only at zero: the moment it first shows is the end.
            if (countdown_.running() && countdown_.finished(now))
                view_.countdownEnded(kCountdownEndedText);
        }
    }
    // Never more than a second away.
    const std::int64_t next = countdown_.nextChangeIn(now);
    if (next > 0)
        clock_.wakeAfter(static_cast<int>(next));
    else
        clock_.stopWaking();
}

}  // namespace kivo
