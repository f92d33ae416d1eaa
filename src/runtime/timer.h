#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "runtime/clock.h"

namespace vantorix {

// A periodic timer. Its deadlines lie on the grid of the moment it was enabled
// (or its interval last set), so a late tick does not push the next one back,
// and ticks missed while the thread was busy are not made up.
class Timer {
public:
    Timer(std::string name, int interval, bool enabled, Clock& clock);

    const std::string& name() const { return name_; }
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }

    // Setting true on a stopped timer starts a period: the first tick one interval later.
    void setEnabled(bool enabled);
    // A new interval restarts the current period from now.
    void setInterval(int interval);

    // The next deadline, if the timer will tick at all (enabled, interval above 0).
    std::optional<std::int64_t> deadline() const;
    // If due at `now`, moves the deadline to the next grid point after `now` and says so.
    bool takeTick(std::int64_t now);

    std::function<void()> onTick;

private:
    void restart();

    std::string name_;
    int interval_;
    bool enabled_;
    Clock& clock_;
    std::int64_t anchor_ = 0;
};

}  // namespace vantorix
