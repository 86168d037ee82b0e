#include "platform/CountdownClock.h"

#include <algorithm>
#ifdef __linux__
#include <time.h>
#endif

namespace kivo {

QtCountdownClock::QtCountdownClock(std::function<void()> ticked) {
    elapsed_.start();
    started_ = elapsed();
    timer_.setSingleShot(true);
    // A coarse timer may fire up to 5% late: a second shown late by 50 ms
    // is seen.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(ticked));
}

std::int64_t QtCountdownClock::elapsed() const {
#ifdef __linux__
    // Time asleep counts, as on Windows: a countdown started before the
    // lid closed has run on when it opens.
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) == 0)
        return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000 - started_;
#endif
    return elapsed_.elapsed();
}

std::int64_t QtCountdownClock::milliseconds() {
    return base_ + (elapsed() - baseElapsed_) * speed_;
}

void QtCountdownClock::runFaster(int times) {
    base_ = milliseconds();
    baseElapsed_ = elapsed();
    speed_ = std::max(1, times);
}

void QtCountdownClock::wakeAfter(int milliseconds) {
    timer_.start(std::max(1, milliseconds / speed_));
}

}  // namespace kivo
