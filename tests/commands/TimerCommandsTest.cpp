#include <gtest/gtest.h>

#include "FakeWindow.h"
#include "commands/Countdown.h"
#include "commands/PresentationCommands.h"

namespace kivo {
namespace {

TEST(CountdownText, RoundsUpToWholeSecondsAndShowsHoursFromAnHour) {
    EXPECT_EQ(countdownText(0), "0:00");
    EXPECT_EQ(countdownText(1), "0:01");
    EXPECT_EQ(countdownText(59'001), "1:00");
    EXPECT_EQ(countdownText(3'599'000), "59:59");
    EXPECT_EQ(countdownText(3'600'000), "1:00:00");
    EXPECT_EQ(countdownText(36'000'000), "10:00:00");
}

class TimerCommandsTest : public RunnerTest {
protected:
    // The clock moves on to the wake-up asked for, which then arrives.
    void wakeUp() {
        ASSERT_GT(window.wake, 0);
        window.clockMs += window.wake;
        session.clockTicked();
    }
    void press(PresentationKey key) { session.run(presentationKeyCommand(key)); }
};

TEST_F(TimerCommandsTest, AnHourCountsDownExactlyByItsWakeUpsThroughAPause) {
    session.run(CommandId::Timer60Minutes);
    EXPECT_EQ(window.faces.back(), "1:00:00");
    EXPECT_EQ(window.strings[kTimerMinutesSetting], "60");
    press(PresentationKey::T);
    const std::int64_t start = window.clockMs;

    // Every second shows once, in order, at its exact moment; the warning
    // colour comes with the last tenth (6:00 left).
    std::int64_t pausedFor = 0;
    for (int left = 3599; left >= 0; --left) {
        wakeUp();
        const std::string expected = (left <= 360 ? "!" : "") + countdownText(left * 1000);
        if (left > 0) ASSERT_EQ(window.faces.back(), expected) << left;
        ASSERT_EQ(window.clockMs - start - pausedFor, (3600 - left) * 1000);
        if (left == 1800) {
            // Half way, ten minutes of pause, a clock read that goes back
            // (a wake from sleep), then on: nothing moves meanwhile.
            press(PresentationKey::T);
            EXPECT_EQ(window.wake, -1);
            window.clockMs += 600'000;
            pausedFor += 600'000;
            session.clockTicked();
            EXPECT_EQ(window.faces.back(), "30:00");
            press(PresentationKey::T);
            window.clockMs -= 5000;
            session.clockTicked();
            EXPECT_EQ(window.faces.back(), "30:00");
            window.clockMs += 5000;
        }
    }
    // Zero: told once, then the time flashes off and on, then stays.
    EXPECT_EQ(window.faces.back(), "-");
    EXPECT_EQ(window.ended, Lines{kCountdownEndedText});
    for (int flash = 0; flash < 12; ++flash) wakeUp();
    EXPECT_EQ(window.faces.back(), "!0:00");
    EXPECT_EQ(window.wake, -1);
    EXPECT_EQ(window.ended.size(), 1u);

    // R: back to the full length, stopped; T at zero starts it again.
    press(PresentationKey::R);
    EXPECT_EQ(window.faces.back(), "1:00:00");
    EXPECT_EQ(window.wake, -1);
}

TEST_F(TimerCommandsTest, LengthsStartWithEachDrawAndAreRemembered) {
    press(PresentationKey::T);
    EXPECT_EQ(window.shown.back(), std::string("message:") + kNoTimerLengthText);

    window.minutesAnswers = {std::nullopt, 45};
    session.run(CommandId::TimerOwnLength);  // cancelled: no length still
    EXPECT_EQ(session.timer().checkedLength(), CommandId::TimerOff);
    session.run(CommandId::TimerOwnLength);
    EXPECT_EQ(session.timer().checkedLength(), CommandId::TimerOwnLength);
    EXPECT_EQ(window.faces.back(), "45:00");

    session.run(CommandId::TimerWithDraw);
    EXPECT_TRUE(window.settings[kTimerWithDrawSetting]);
    window.list = {"犬", "猫", "鳥"};
    session.run(CommandId::Draw);
    window.clockMs += 1000;
    session.clockTicked();
    EXPECT_EQ(window.faces.back(), "44:59");
    session.run(CommandId::Draw);  // a new draw starts it from the top
    EXPECT_EQ(window.faces.back(), "45:00");
    EXPECT_GT(window.wake, 0);
    session.run(CommandId::TimerOff);
    EXPECT_EQ(window.faces.back(), "");
    EXPECT_EQ(window.wake, -1);

    // A new session reads both back.
    window.strings[kTimerMinutesSetting] = "15";
    Session again{SessionPorts{window, window, window, window, window, window, window, window,
                               window, window, window, window, window, window, window}};
    again.start();
    again.shown(std::nullopt);
    EXPECT_EQ(again.timer().minutes(), 15);
    EXPECT_TRUE(again.timer().startWithDraw());
    EXPECT_EQ(window.faces.back(), "15:00");
}

}  // namespace
}  // namespace kivo
