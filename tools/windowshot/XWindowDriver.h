#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "RgbImage.h"

struct _XDisplay;

// An X11 window, as Xlib's XID.
using WindowId = unsigned long;

// Drives other clients' windows the way a user and a window manager would: finds them by
// title, types keys into them, asks them to close and takes their picture.
//
// X errors caused by a window vanishing midway (the viewer may exit at any time) do not
// end the process; the operation reports the failure instead.
class XWindowDriver {
public:
    // Connects to the display `displayName` (empty: $DISPLAY). Throws std::runtime_error
    // if the display cannot be opened.
    explicit XWindowDriver(const std::string& displayName);
    ~XWindowDriver();

    XWindowDriver(const XWindowDriver&) = delete;
    XWindowDriver& operator=(const XWindowDriver&) = delete;

    // Polls until a viewable window whose WM_NAME is exactly `name` exists, for up to
    // `timeout`. The window may be a child of a window manager's frame.
    std::optional<WindowId> FindWindow(const std::string& name, std::chrono::milliseconds timeout);

    // Whether `window` still exists and is mapped on the screen.
    bool IsOnScreen(WindowId window);

    // Sends a press and a release of the key with this keysym name ("w", "W", "space",
    // "Left", "F1", ...) to `window`, with Shift held when the keysym is on the key's shifted
    // level. The events go to the window directly, so the keyboard focus does not matter.
    // Throws std::invalid_argument when no key of the keyboard gives the keysym.
    void PressKey(WindowId window, const std::string& keysymName);

    // Asks `window` to close as a window manager does when the user clicks its close
    // button: a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW.
    void Close(WindowId window);

    // The window's current content. Throws std::runtime_error if it cannot be read (not
    // viewable, gone, or partly outside the screen).
    RgbImage Grab(WindowId window);

    // Returns once the server has handled every request sent so far, so sent events are
    // queued for their receivers.
    void Sync();

private:
    std::optional<WindowId> FindIn(WindowId parent, const std::string& name, int depth);

    _XDisplay* display = nullptr;
};
