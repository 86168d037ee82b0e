#pragma once
// The countdown under the presentation view's topics, as time on a clock
// that never goes back (CountdownClockPort): how much is left, what it
// shows, when it turns to the warning colour, and the flashing at zero.
#include <cstdint>
#include <string>

namespace kivo {

inline constexpr int kFewestTimerMinutes = 1;
inline constexpr int kMostTimerMinutes = 600;
// At zero the time flashes this long, on and off every kFlashMs.
inline constexpr std::int64_t kFlashForMs = 6000;
inline constexpr std::int64_t kFlashMs = 500;
// Told to a screen reader at zero.
inline constexpr const char* kCountdownEndedText = "時間です";

// What the view shows under the topics: nothing while no countdown is set.
struct CountdownFace {
    std::string text;      // "4:59", "1:00:00"; empty for none
    bool warning = false;  // the last tenth, and zero
    bool shown = true;     // off in the flash's dark half
    bool operator==(const CountdownFace&) const = default;
};

// Whole seconds left as the countdown shows them, rounded up so that the
// full length shows at the start and 0:00 only at zero: "m:ss" below an
// hour, "h:mm:ss" from one.
std::string countdownText(std::int64_t remainingMs);

class Countdown {
public:
    // No length: nothing to count down.
    void setLength(std::int64_t lengthMs);
    std::int64_t length() const { return lengthMs_; }
    bool isSet() const { return lengthMs_ > 0; }

    // Starts, or goes on after a pause; from the full length once it has
    // reached zero.
    void start(std::int64_t now);
    void pause(std::int64_t now);
    // Stopped at the full length.
    void reset();
    bool running() const { return running_; }

    std::int64_t remaining(std::int64_t now) const;
    bool finished(std::int64_t now) const { return isSet() && remaining(now) == 0; }
    CountdownFace face(std::int64_t now) const;
    // How long until the face may look different; nothing to wait for
    // when negative.
    std::int64_t nextChangeIn(std::int64_t now) const;

private:
    // A clock read earlier than one before (it never should be) counts as
    // the one before, so the time left never grows while it runs.
    std::int64_t settled(std::int64_t now) const;
    // The moment it reached or will reach zero, while running.
    std::int64_t endsAt() const { return startedAt_ + leftAtStart_; }

    std::int64_t lengthMs_ = 0;
    std::int64_t leftAtStart_ = 0;  // left when last started or paused
    std::int64_t startedAt_ = 0;
    mutable std::int64_t latest_ = 0;
    bool running_ = false;
};

}  // namespace kivo
