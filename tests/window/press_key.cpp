// press-key KEYCODE HOLD_MS: presses the physical key with that X keycode through
// XTest, holds it, and lets go, as a finger does. Unlike xdotool's key names, a
// keycode is the key's place: what it types is up to the active layout.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    char* end = nullptr;
    const long keycode = argc == 3 ? std::strtol(argv[1], &end, 10) : 0;
    const bool goodCode = end && *end == '\0' && keycode >= 8 && keycode <= 255;
    const long holdMs = argc == 3 ? std::strtol(argv[2], &end, 10) : -1;
    if (!goodCode || *end != '\0' || holdMs < 0) {
        std::fprintf(stderr, "usage: press-key KEYCODE HOLD_MS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "press-key: cannot open the display\n");
        return 1;
    }
    const auto code = static_cast<unsigned>(keycode);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
