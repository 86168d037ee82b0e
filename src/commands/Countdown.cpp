#include "commands/Countdown.h"

#include <algorithm>
#include <cstdio>

namespace kivo {

std::string countdownText(std::int64_t remainingMs) {
    const std::int64_t seconds = (std::max<std::int64_t>(remainingMs, 0) + 999) / 1000;
    char text[32];
    const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", h, m, s);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", m, s);
    return text;
}

void Countdown::setLength(std::int64_t lengthMs) {
    lengthMs_ = std::max<std::int64_t>(lengthMs, 0);
    reset();
}

void Countdown::reset() {
    running_ = false;
    leftAtStart_ = lengthMs_;
}

std::int64_t Countdown::settled(std::int64_t now) const {
    latest_ = std::max(latest_, now);
    return latest_;
}

void Countdown::start(std::int64_t now) {
    if (!isSet()) return;
    if (running_) {
        if (remaining(now) > 0) return;
        running_ = false;
        leftAtStart_ = 0;
    }
    if (leftAtStart_ == 0) leftAtStart_ = lengthMs_;
    startedAt_ = settled(now);
    running_ = true;
}

void Countdown::pause(std::int64_t now) {
    if (!running_) return;
    leftAtStart_ = remaining(now);
    running_ = false;
}

std::int64_t Countdown::remaining(std::int64_t now) const {
    if (!running_) return leftAtStart_;
    return std::max<std::int64_t>(0, endsAt() - settled(now));
}

CountdownFace Countdown::face(std::int64_t now) const {
    if (!isSet()) return {};
    const std::int64_t left = remaining(now);
    CountdownFace face{countdownText(left), left * 10 <= lengthMs_, true};
    if (left == 0 && running_) {
        const std::int64_t since = settled(now) - endsAt();
        face.shown = since >= kFlashForMs || (since / kFlashMs) % 2 == 1;
    }
    return face;
}

std::int64_t Countdown::nextChangeIn(std::int64_t now) const {
    if (!running_) return -1;
    const std::int64_t left = remaining(now);
    if (left == 0) {
        const std::int64_t since = settled(now) - endsAt();
        if (since >= kFlashForMs) return -1;
        return kFlashMs - since % kFlashMs;
    }
    // The next whole second shown, or the warning's moment if sooner.
    std::int64_t next = left - (left - 1) / 1000 * 1000;
    const std::int64_t warningIn = left - lengthMs_ / 10;
    if (warningIn > 0) next = std::min(next, warningIn);
    return next;
}

}  // namespace kivo
