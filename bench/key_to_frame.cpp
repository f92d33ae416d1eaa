// key_to_frame WINDOW [PRESSES]: with a game on and the ship in lane 2, taps Up and
// Down in turn through XTest, 200 ms apart, and times each tap until the ship's
// cyan shows in the lane it moved to. Prints "median worst missed" in milliseconds.
// Needs the keyboard focus on WINDOW (an X window id, decimal or 0x hex).
// KEY_TO_FRAME_TRACE=1 prints every tap on stderr.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The ship's columns and the height of a lane in the client area.
constexpr int kShipX = 8;
constexpr int kShipW = 33;
constexpr int kLaneH = 32;
// The ship overhangs its lane by a few rows; this many cyan pixels mean "it is here".
constexpr int kShipPixels = 200;

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

bool shipIn(Display* dpy, Window w, int lane) {
    XImage* img = XGetImage(dpy, w, kShipX, lane * kLaneH, kShipW, kLaneH, AllPlanes, ZPixmap);
    if (!img) return false;
    int cyan = 0;
    for (int y = 0; y < kLaneH; ++y)
        for (int x = 0; x < kShipW; ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            // Cyan: no red, full green and blue, whatever the depth.
            cyan += !(p & img->red_mask) && (p & img->green_mask) == img->green_mask &&
                    (p & img->blue_mask) == img->blue_mask;
        }
    XDestroyImage(img);
    return cyan >= kShipPixels;
}

void tap(Display* dpy, KeyCode key) {
    XTestFakeKeyEvent(dpy, key, True, CurrentTime);
    XTestFakeKeyEvent(dpy, key, False, CurrentTime);
    XFlush(dpy);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WINDOW [PRESSES]\n", argv[0]);
        return 2;
    }
    const Window win = std::strtoul(argv[1], nullptr, 0);
    const int presses = argc > 2 ? std::atoi(argv[2]) : 20;
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "key_to_frame: cannot open display\n");
        return 2;
    }
    int ev = 0, err = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(dpy, &ev, &err, &major, &minor)) {
        std::fprintf(stderr, "key_to_frame: no XTest on this display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const KeyCode up = XKeysymToKeycode(dpy, XK_Up);
    const KeyCode down = XKeysymToKeycode(dpy, XK_Down);

    std::vector<double> ms;
    int missed = 0;
    for (int i = 0; i < presses; ++i) {
        // Even taps go up to lane 1, odd ones back down to lane 2.
        const int to = i % 2 ? 2 : 1;
        const auto start = Clock::now();
        tap(dpy, i % 2 ? down : up);
        double seen = -1;
        while (Clock::now() - start < std::chrono::milliseconds(180)) {
            if (shipIn(dpy, win, to) && !shipIn(dpy, win, 3 - to)) {
                seen = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        if (std::getenv("KEY_TO_FRAME_TRACE")) std::fprintf(stderr, "tap %d to lane %d: %.1f ms\n", i, to, seen);
        if (seen >= 0) ms.push_back(seen);
        else ++missed;
        std::this_thread::sleep_until(start + std::chrono::milliseconds(200));
    }
    XCloseDisplay(dpy);
    if (ms.empty()) {
        std::fprintf(stderr, "key_to_frame: the ship never moved\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    std::printf("%.1f %.1f %d\n", median, ms.back(), missed);
    return 0;
}
