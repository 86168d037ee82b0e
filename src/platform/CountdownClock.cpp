#include "platform/CountdownClock.h"

#include <algorithm>

namespace kivo {

QtCountdownClock::QtCountdownClock(std::function<void()> ticked) {
    elapsed_.start();
    timer_.setSingleShot(true);
    // A coarse timer may fire up to 5% late: a second shown late by 50 ms
    // is seen.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(ticked));
}

std::int64_t QtCountdownClock::milliseconds() {
    return base_ + (elapsed_.elapsed() - baseElapsed_) * speed_;
}

void QtCountdownClock::runFaster(int times) {
    base_ = milliseconds();
    baseElapsed_ = elapsed_.elapsed();
    speed_ = std::max(1, times);
}

void QtCountdownClock::wakeAfter(int milliseconds) {
    timer_.start(std::max(1, milliseconds / speed_));
}

}  // namespace kivo
