#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>

namespace vantorix::sim {

struct Command {
    enum class Kind { Down, Up, Close, Dump, Png, Pause, Resume };
    std::int64_t at = 0;  // ms since program start
    Kind kind = Kind::Dump;
    std::int16_t key = 0;  // virtual-key code of Down and Up
    std::string file;      // target of Png
    int line = 0;
};

// A script line that cannot be read; the simulator exits with status 2.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the script a line at a time, as it arrives: blank lines and lines
// starting with # are skipped, times never decrease.
class ScriptReader {
public:
    explicit ScriptReader(std::istream& in) : in_(in) {}
    // The next command without taking it; nothing at the end of the script.
    const Command* peek();
    void pop() { pending_.reset(); }

private:
    Command parse(const std::string& text);

    std::istream& in_;
    std::optional<Command> pending_;
    int line_ = 0;
    std::int64_t lastAt_ = 0;
};

}  // namespace vantorix::sim
