// Linked into every test program: a test still running after kLimitSeconds is
// stuck (a loop that never ends, a wait that is never woken), so the program
// names it and fails at once instead of holding the run until CTest's limit.
// Every test here takes well under a second, under the sanitizers a few.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned kLimitSeconds = 30;
char message[600];

void onAlarm(int) {
    // Only async-signal-safe calls from here on.
    ssize_t written = write(STDERR_FILENO, message, std::strlen(message));
    (void)written;
    _exit(1);
}

class Watchdog : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        std::snprintf(message, sizeof message,
                      "\nwatchdog: %s.%s still running after %u s: ended\n",
                      test.test_suite_name(), test.name(), kLimitSeconds);
        alarm(kLimitSeconds);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { alarm(0); }
};

[[maybe_unused]] const bool installed = [] {
    std::signal(SIGALRM, onAlarm);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    return true;
}();

}  // namespace
