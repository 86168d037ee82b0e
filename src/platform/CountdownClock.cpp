#include "platform/CountdownClock.h"

#include <algorithm>
#include <chrono>
#ifdef __linux__
#include <time.h>
#endif

namespace kivo {
namespace {

// Milliseconds from any start on a clock that never goes back. On Linux
// time asleep counts, as on Windows: a countdown started before the lid
// closed has run on when it opens.
std::int64_t monotonicMilliseconds() {
#ifdef __linux__
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) == 0)
        return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
#endif
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

QtCountdownClock::QtCountdownClock(std::function<void()> ticked) : since_(monotonicMilliseconds()) {
    timer_.setSingleShot(true);
    // A coarse timer may fire up to 5% late: a second shown late by 50 ms
    // is seen.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(ticked));
}

std::int64_t QtCountdownClock::milliseconds() {
    return base_ + (monotonicMilliseconds() - since_) * speed_;
}

void QtCountdownClock::wakeAfter(int milliseconds) {
    timer_.start(std::max(1, milliseconds / speed_));
}

void QtCountdownClock::runFaster(int times) {
    base_ = milliseconds();
    since_ = monotonicMilliseconds();
    speed_ = std::max(1, times);
}

}  // namespace kivo
