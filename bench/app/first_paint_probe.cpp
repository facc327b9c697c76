// How long zozuz takes from its process start to the first painted main window on an X server:
// starts the program N times and, for each run, watches the screen from the moment just before the
// fork until the main window shows its toolbar row, its status line and the editor's white in its
// middle, then ends the program. Prints each run and the median, in milliseconds.
//
// The window is found by the process id the program puts on it (_NET_WM_PID); the pixels are read
// back from the root window at the window's place on the screen, so a window that is not mapped yet
// reads as the screen behind it and never passes. The checks look at small uniform blocks, which the
// X server's chequered root pattern cannot imitate.
//
// usage: first_paint_probe PATH_TO_ZOZUZ [RUNS]   (on an X display with a window manager)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Windows vanish and move while the program starts; a request about one that has gone is not an error
// of the probe.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

std::optional<unsigned long> pidOf(Display* display, Window window) {
    static const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) != Success)
        return std::nullopt;
    std::optional<unsigned long> pid;
    if (data != nullptr && type == XA_CARDINAL && format == 32 && count == 1)
        pid = *reinterpret_cast<unsigned long*>(data);
    if (data != nullptr) XFree(data);
    return pid;
}

// The top-level window of the process with a caption, at any depth of the window manager's frames.
Window findWindow(Display* display, Window under, pid_t pid, int depth = 0) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, under, &root, &parent, &children, &count) == 0) return None;
    Window found = None;
    for (unsigned i = 0; i < count && found == None; ++i) {
        const auto owner = pidOf(display, children[i]);
        char* name = nullptr;
        if (owner && *owner == static_cast<unsigned long>(pid) && XFetchName(display, children[i], &name) != 0 &&
            name != nullptr && std::string_view(name) == "zozuz")
            found = children[i];
        if (name != nullptr) XFree(name);
        if (found == None && depth < 2) found = findWindow(display, children[i], pid, depth + 1);
    }
    if (children != nullptr) XFree(children);
    return found;
}

// Whether the block of the screen at x, y (w x h pixels) is all of one colour (0xRRGGBB).
bool blockIs(Display* display, int x, int y, int w, int h, unsigned long colour) {
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    if (x < 0 || y < 0 || x + w > screenWidth || y + h > screenHeight) return false;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, w, h, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    bool same = true;
    for (int row = 0; row < h && same; ++row)
        for (int column = 0; column < w && same; ++column)
            same = (XGetPixel(image, column, row) & 0xFFFFFF) == colour;
    XDestroyImage(image);
    return same;
}

// Whether the main window is painted: button face at the right end of the toolbar's row and inside
// the status line's frame, right of its text, and the editor's white in the middle.
bool painted(Display* display, Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable) return false;
    int x = 0;
    int y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child)) return false;
    const int w = attributes.width;
    const int h = attributes.height;
    if (w < 100 || h < 100) return false;
    constexpr unsigned long kButtonFace = 0xF0F0F0;
    constexpr unsigned long kWindow = 0xFFFFFF;
    return blockIs(display, x + w / 2 - 2, y + h / 2 - 2, 4, 4, kWindow) &&
           blockIs(display, x + w - 4, y + 34, 3, 3, kButtonFace) &&
           blockIs(display, x + w - 12, y + h - 10, 3, 3, kButtonFace);
}

// One start; returns the milliseconds to the first painted window, or nothing when the program ended
// or showed nothing within the time allowed.
std::optional<double> measureOnce(Display* display, const char* program) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) return std::nullopt;
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    std::optional<double> result;
    Window window = None;
    const Clock::time_point deadline = start + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "zozuz ended before it painted its window\n");
            return std::nullopt;
        }
        if (window == None) window = findWindow(display, DefaultRootWindow(display), pid);
        if (window != None && painted(display, window)) {
            result = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSync(display, False);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH_TO_ZOZUZ [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 11;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto ms = measureOnce(display, argv[1]);
        if (!ms) {
            XCloseDisplay(display);
            return 2;
        }
        std::printf("run %d: %.1f ms\n", i + 1, *ms);
        std::fflush(stdout);
        times.push_back(*ms);
        // The window manager forgets the last window before the next one comes.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    XCloseDisplay(display);
    std::sort(times.begin(), times.end());
    std::printf("start-up to the first painted main window: median %.1f ms over %d runs (fastest %.1f, slowest %.1f)\n",
                times[times.size() / 2], runs, times.front(), times.back());
    return 0;
}
