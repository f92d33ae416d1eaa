// first_frame GAME [TIMEOUT_S]: starts GAME and prints the milliseconds from its
// start until its window named "Vantorix" is mapped and shows the field colour,
// then the milliseconds until it was first seen mapped (painted or not) and the
// CPU milliseconds the game had used by its first frame.
// Watches the X server given by DISPLAY; ends the game with SIGTERM afterwards.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTitle = "Vantorix";
// A point of the client area that only the field covers on the first screen.
constexpr int kProbeX = 5;
constexpr int kProbeY = 60;
constexpr unsigned long kFieldRgb = 0x0000c0;

// Windows vanish and change under us; a failed request just means "not yet".
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

std::string nameOf(Display* dpy, Window w) {
    static const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(dpy, w, netName, 0, 256, False, utf8, &type, &format, &count,
                           &after, &data) == Success && data) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!name.empty()) return name;
    }
    char* plain = nullptr;
    if (XFetchName(dpy, w, &plain) && plain) {
        name = plain;
        XFree(plain);
    }
    return name;
}

// CPU time the process has used so far, all threads, in milliseconds.
double cpuMs(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    std::FILE* f = std::fopen(path, "r");
    if (!f) return -1;
    char buf[1024];
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    // Fields 14 and 15 count after the name in brackets, which may hold spaces.
    const char* p = std::strrchr(buf, ')');
    unsigned long utime = 0, stime = 0;
    if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime,
                          &stime) != 2)
        return -1;
    return (utime + stime) * 1000.0 / sysconf(_SC_CLK_TCK);
}

bool viewable(Display* dpy, Window w) {
    XWindowAttributes a;
    return XGetWindowAttributes(dpy, w, &a) && a.map_state == IsViewable;
}

unsigned long channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    while (!(mask & 1)) {
        mask >>= 1;
        pixel >>= 1;
    }
    // Scale to 8 bits whatever the depth of the channel.
    unsigned long bits = 0;
    for (unsigned long m = mask; m; m >>= 1) ++bits;
    unsigned long v = pixel & mask;
    return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
}

bool showsField(Display* dpy, Window w) {
    XImage* img = XGetImage(dpy, w, kProbeX, kProbeY, 1, 1, AllPlanes, ZPixmap);
    if (!img) return false;
    unsigned long p = XGetPixel(img, 0, 0);
    unsigned long rgb = channel(p, img->red_mask) << 16 | channel(p, img->green_mask) << 8 |
                        channel(p, img->blue_mask);
    XDestroyImage(img);
    return rgb == kFieldRgb;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    // SDL turns SIGTERM into a close request; give the game time to honour it.
    for (int i = 0; i < 500; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::fprintf(stderr, "first_frame: the game ignored SIGTERM, killing it\n");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GAME [TIMEOUT_S]\n", argv[0]);
        return 2;
    }
    const double timeout = argc > 2 ? std::atof(argv[2]) : 10.0;
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "first_frame: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    // The game must not inherit our connection.
    fcntl(ConnectionNumber(dpy), F_SETFD, FD_CLOEXEC);
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 2;
    }
    if (pid == 0) {
        dup2(STDERR_FILENO, STDOUT_FILENO);  // our stdout carries only the figure
        execl(argv[1], argv[1], static_cast<char*>(nullptr));
        std::perror("exec");
        _exit(127);
    }

    std::set<Window> mapped;
    Window game = None;
    double ms = -1, mappedMs = -1, usedMs = -1;
    while (true) {
        const double elapsed =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (elapsed > timeout * 1000) break;
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "first_frame: the game exited early\n");
            return 1;
        }
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify) mapped.insert(ev.xmap.window);
            if (ev.type == DestroyNotify) mapped.erase(ev.xdestroywindow.window);
        }
        // The title may be set after the map, so keep asking until one matches.
        if (game == None)
            for (Window w : mapped)
                if (nameOf(dpy, w) == kTitle) game = w;
        if (game != None && viewable(dpy, game)) {
            if (mappedMs < 0) mappedMs = elapsed;
            if (showsField(dpy, game)) {
                ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                usedMs = cpuMs(pid);
                break;
            }
        }
        // Short naps: fine enough for the figure, light enough not to starve the game.
        pollfd pfd{ConnectionNumber(dpy), POLLIN, 0};
        poll(&pfd, 1, game == None ? 5 : 1);
    }
    stop(pid);
    XCloseDisplay(dpy);
    if (ms < 0) {
        std::fprintf(stderr, "first_frame: no painted Vantorix window within %.0f s\n", timeout);
        return 1;
    }
    std::printf("%.1f %.1f %.0f\n", ms, mappedMs, usedMs);
    return 0;
}
