// Starting Xvfb and talking to it with Xlib and XTest.
#include "x_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace {

// X errors are expected while a window comes and goes; Xlib's default handler would end
// the test process, so they are only counted.
int errorCount = 0;
extern "C" int countError(Display *, XErrorEvent *) {
    ++errorCount;
    return 0;
}

// Xvfb writes its display number and a newline to the descriptor once it accepts clients.
std::string readDisplayNumber(int fd, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(std::max<long>(0, left.count())));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        char buffer[32];
        const ssize_t size = ready > 0 ? read(fd, buffer, sizeof buffer) : 0;
        if (size <= 0) {
            return "";
        }
        text.append(buffer, static_cast<std::size_t>(size));
    }
    return text.substr(0, text.find('\n'));
}

} // namespace

VirtualScreen::VirtualScreen(const std::string &xvfbPath, const std::string &logPath) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    ChildLaunch launch;
    launch.argv = {xvfbPath,       "-displayfd", "3",   "-screen", "0",
                   "1280x1024x24", "-nolisten",  "tcp", "-noreset"};
    launch.environment = currentEnvironment();
    launch.logPath = logPath;
    launch.passedFd = pipeFds[1];
    launch.stopSignal = SIGTERM; // lets Xvfb remove its lock file and socket
    server_ = std::make_unique<ChildProcess>(launch);
    close(pipeFds[1]);
    const std::string number = readDisplayNumber(pipeFds[0], std::chrono::seconds(20));
    close(pipeFds[0]);
    if (number.empty()) {
        throw std::runtime_error("Xvfb did not report a display; see " + logPath);
    }
    displayName_ = ":" + number;
}

XSession::XSession(const std::string &displayName) {
    XSetErrorHandler(countError);
    display_ = XOpenDisplay(displayName.c_str());
    if (display_ == nullptr) {
        throw std::runtime_error("cannot open display " + displayName);
    }
    int event, error, major, minor;
    hasXTest_ = XTestQueryExtension(display_, &event, &error, &major, &minor) != 0;
}

XSession::~XSession() {
    XCloseDisplay(display_);
}

std::vector<WindowId> XSession::windowsTitled(const std::string &title) const {
    std::vector<WindowId> found;
    Window root, parent;
    Window *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) {
        return found;
    }
    for (unsigned i = 0; i < count; ++i) {
        char *name = nullptr;
        if (XFetchName(display_, children[i], &name) != 0 && name != nullptr) {
            if (title == name) {
                found.push_back(children[i]);
            }
            XFree(name);
        }
    }
    XFree(children);
    return found;
}

std::optional<XSession::Placement> XSession::placement(WindowId window) const {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window, &attributes) == 0) {
        return std::nullopt;
    }
    int x = 0;
    int y = 0;
    Window child;
    XTranslateCoordinates(display_, window, attributes.root, 0, 0, &x, &y, &child);
    return Placement{x, y, attributes.width, attributes.height, attributes.map_state == IsViewable};
}

std::optional<Picture> XSession::capture(WindowId window) const {
    const std::optional<Placement> place = placement(window);
    if (!place || !place->viewable) {
        return std::nullopt;
    }
    const int errorsBefore = errorCount;
    XImage *image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(place->width),
                              static_cast<unsigned>(place->height), AllPlanes, ZPixmap);
    XSync(display_, False);
    if (image == nullptr || errorCount != errorsBefore) {
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return std::nullopt;
    }
    // Masks and shifts found once: this runs for every poll of the picture.
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    int shifts[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        while (((masks[c] >> shifts[c]) & 1) == 0 && shifts[c] < 32) {
            ++shifts[c];
        }
    }
    Picture picture;
    picture.width = image->width;
    picture.height = image->height;
    picture.rgb.resize(3 * static_cast<std::size_t>(image->width) * image->height);
    std::uint8_t *out = picture.rgb.data();
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            for (int c = 0; c < 3; ++c) {
                *out++ = static_cast<std::uint8_t>((pixel & masks[c]) >> shifts[c]);
            }
        }
    }
    XDestroyImage(image);
    return picture;
}

void XSession::movePointer(int x, int y) const {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

void XSession::pressButton(unsigned button) const {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XSync(display_, False);
}

void XSession::releaseButton(unsigned button) const {
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XSync(display_, False);
}

void XSession::tapKey(unsigned long keysym) const {
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

void XSession::requestClose(WindowId window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}
