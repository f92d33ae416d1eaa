#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "runtime/random.h"

namespace vantorix {

// Program-wide services: the folder beside the program, random numbers, the beep.
class Program {
public:
    Program(std::string appPath, Clock& clock, std::function<void()> beep);

    // A file in the program's folder, named as the game spells it ("\title.mid").
    std::string appFile(std::string_view backslashName) const;

    void randomize();
    double rnd() { return random_.next(); }
    void beep();

private:
    std::string appPath_;  // the program's folder, without a trailing separator
    Clock& clock_;
    std::function<void()> beep_;
    Random random_;
};

// The folder of the running program file, links followed.
std::string programFolder();

}  // namespace vantorix
