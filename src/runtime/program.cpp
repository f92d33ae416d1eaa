#include "runtime/program.h"

#include <filesystem>

namespace vantorix {

Program::Program(std::string appPath, Clock& clock, std::function<void()> beep)
    : appPath_(std::move(appPath)), clock_(clock), beep_(std::move(beep)) {
    while (appPath_.size() > 1 && appPath_.back() == '/') appPath_.pop_back();
}

std::string Program::appFile(std::string_view backslashName) const {
    while (!backslashName.empty() && backslashName.front() == '\\') backslashName.remove_prefix(1);
    return appPath_ + "/" + std::string(backslashName);
}

void Program::randomize() { random_.reseed(clock_.timeOfDayMs()); }

void Program::beep() {
    if (beep_) beep_();
}

std::string programFolder() {
    std::error_code error;
    auto exe = std::filesystem::canonical("/proc/self/exe", error);
    if (error) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

}  // namespace vantorix
