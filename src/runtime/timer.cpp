#include "runtime/timer.h"

namespace vantorix {

Timer::Timer(std::string name, int interval, bool enabled, Clock& clock)
    : name_(std::move(name)), interval_(interval), enabled_(enabled), clock_(clock) {
    restart();
}

void Timer::restart() { anchor_ = clock_.nowMs(); }

void Timer::setEnabled(bool enabled) {
    if (enabled && !enabled_) restart();
    enabled_ = enabled;
}

void Timer::setInterval(int interval) {
    interval_ = interval;
    restart();
}

std::optional<std::int64_t> Timer::deadline() const {
    if (!enabled_ || interval_ <= 0) return std::nullopt;
    return anchor_ + interval_;
}

bool Timer::takeTick(std::int64_t now) {
    auto due = deadline();
    if (!due || *due > now) return false;
    // Skip to the last grid point at or before now; the next deadline is one interval on.
    anchor_ += (now - anchor_) / interval_ * interval_;
    return true;
}

}  // namespace vantorix
