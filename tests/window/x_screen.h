// A private X server (Xvfb) for the window tests, and a connection to it that finds a
// window by title, sends real input through XTest and reads the window's pixels.
#pragma once

#include "child_process.h"
#include "picture.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Xlib's own header stays out of the tests: its macros (None, Bool, Status) collide.
struct _XDisplay;
using WindowId = unsigned long;

// Xvfb on a free display that it picks itself, 1280 × 1024 × 24; stopped with the object.
class VirtualScreen {
  public:
    VirtualScreen(const std::string &xvfbPath, const std::string &logPath);
    const std::string &displayName() const { return displayName_; }

  private:
    std::unique_ptr<ChildProcess> server_;
    std::string displayName_;
};

class XSession {
  public:
    explicit XSession(const std::string &displayName);
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    bool hasXTest() const { return hasXTest_; }
    // Top-level windows with this title, at this moment.
    std::vector<WindowId> windowsTitled(const std::string &title) const;

    struct Placement {
        int x, y, width, height;
        bool viewable;
    };
    std::optional<Placement> placement(WindowId window) const;
    // The window's pixels as shown, or nothing if the server refuses (the window is gone).
    std::optional<Picture> capture(WindowId window) const;

    // Input through XTest, each flushed to the server before returning. Positions are in
    // screen pixels.
    void movePointer(int x, int y) const;
    void pressButton(unsigned button) const;
    void releaseButton(unsigned button) const;
    void tapKey(unsigned long keysym) const; // an XK_ keysym: press and release
    // What a window manager sends when the user closes the window: WM_DELETE_WINDOW.
    void requestClose(WindowId window) const;

  private:
    _XDisplay *display_ = nullptr;
    bool hasXTest_ = false;
};
