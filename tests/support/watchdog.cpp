// Linked into every test program: a test still running after 30 s is stuck (a
// loop that never ends), so the program names it and fails instead of holding
// the run until CTest's limit. Every test here takes well under a second.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace {

std::string message;

class Watchdog : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        message = std::string("\nwatchdog: ") + test.test_suite_name() + "." + test.name() +
                  " still running after 30 s: ended\n";
        alarm(30);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { alarm(0); }
};

[[maybe_unused]] const bool installed = [] {
    // Only async-signal-safe calls in the handler; the message stays put while armed.
    std::signal(SIGALRM, [](int) {
        [[maybe_unused]] ssize_t written = write(STDERR_FILENO, message.data(), message.size());
        _exit(1);
    });
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    return true;
}();

}  // namespace
