#pragma once
// The countdown's clock in the Qt window: the system's monotonic clock,
// which a change of the wall clock never moves (with the time asleep, where
// the system counts it), and one timer for the wake-ups the commands ask
// for.
#include <QTimer>
#include <cstdint>
#include <functional>

#include "commands/Ports.h"

namespace kivo {

class QtCountdownClock : public CountdownClockPort {
public:
    // `ticked` runs at each wake-up.
    explicit QtCountdownClock(std::function<void()> ticked);

    std::int64_t milliseconds() override;
    void wakeAfter(int milliseconds) override;
    void stopWaking() override { timer_.stop(); }

    // Runs `times` as fast as real time from now on, wake-ups included, so
    // that a test counts a minute down in a second.
    void runFaster(int times);

private:
    QTimer timer_;
    int speed_ = 1;
    std::int64_t base_ = 0;   // the reading at the last change of speed
    std::int64_t since_ = 0;  // the system's clock then
};

}  // namespace kivo
