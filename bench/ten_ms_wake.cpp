// ten_ms_wake: the floor for the game's key-poll timer. A loop that sleeps in
// poll() on a socket until the next 10 ms grid point, as the game's wait does
// on the X connection, and does nothing when it wakes. Runs until killed.
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>

int main() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) {
        std::perror("ten_ms_wake");
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    constexpr auto kPeriod = std::chrono::milliseconds(10);
    auto due = Clock::now() + kPeriod;
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
        pollfd socket{ends[0], POLLIN, 0};
        if (left > 0 && poll(&socket, 1, static_cast<int>(left)) > 0) return 1;
        // The next grid point after now, as the game's timer skips ticks it missed.
        while (due <= Clock::now()) due += kPeriod;
    }
}
