#include "XWindowDriver.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <bit>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

// Xlib's default handler ends the process; a vanished window is a normal event here.
std::atomic<int> lastErrorCode{0};

int RecordError(Display*, XErrorEvent* error) {
    lastErrorCode = error->error_code;
    return 0;
}

// Scales the bits of `pixel` under `mask` to 0..255.
std::uint8_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long maximum = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>(value * 255 / maximum);
}

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

}  // namespace

XWindowDriver::XWindowDriver(const std::string& displayName) {
    XSetErrorHandler(RecordError);
    display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        throw std::runtime_error(
            "cannot open the X display \"" +
            std::string(XDisplayName(displayName.empty() ? nullptr : displayName.c_str())) + "\"");
    }
}

XWindowDriver::~XWindowDriver() { XCloseDisplay(display); }

std::optional<WindowId> XWindowDriver::FindIn(WindowId parent, const std::string& name, int depth) {
    Window root = 0, parentOfParent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOfParent, &children, &count))
        return std::nullopt;
    std::unique_ptr<Window, decltype(&XFree)> owned(children, &XFree);

    for (unsigned int i = 0; i < count; ++i) {
        char* title = nullptr;
        if (XFetchName(display, children[i], &title) && title != nullptr) {
            const bool same = name == title;
            XFree(title);
            if (same && IsOnScreen(children[i])) return children[i];
        }
    }
    if (depth > 0) {
        for (unsigned int i = 0; i < count; ++i) {
            if (auto found = FindIn(children[i], name, depth - 1)) return found;
        }
    }
    return std::nullopt;
}

std::optional<WindowId> XWindowDriver::FindWindow(const std::string& name,
                                                  std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        // A window manager puts client windows into frames, two levels down at most.
        if (auto found = FindIn(DefaultRootWindow(display), name, 2)) return found;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool XWindowDriver::IsOnScreen(WindowId window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    return attributes.map_state == IsViewable;
}

void XWindowDriver::PressKey(WindowId window, const std::string& keysymName) {
    const KeySym keysym = XStringToKeysym(keysymName.c_str());
    if (keysym == NoSymbol) throw std::invalid_argument("unknown keysym \"" + keysymName + "\"");
    const KeyCode keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0) throw std::invalid_argument("no key gives the keysym \"" + keysymName + "\"");
    unsigned int state = 0;
    if (XkbKeycodeToKeysym(display, keycode, 0, 0) != keysym &&
        XkbKeycodeToKeysym(display, keycode, 0, 1) == keysym) {
        state = ShiftMask;
    }

    XEvent event{};
    XKeyEvent& key = event.xkey;
    key.display = display;
    key.window = window;
    key.root = DefaultRootWindow(display);
    key.subwindow = None;
    key.time = CurrentTime;
    key.x = key.y = 1;
    key.x_root = key.y_root = 1;
    key.same_screen = True;
    key.keycode = keycode;
    key.state = state;

    key.type = KeyPress;
    XSendEvent(display, window, True, KeyPressMask, &event);
    key.type = KeyRelease;
    XSendEvent(display, window, True, KeyReleaseMask, &event);
    XFlush(display);
}

void XWindowDriver::Close(WindowId window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

RgbImage XWindowDriver::Grab(WindowId window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) {
        throw std::runtime_error("the window to grab does not exist");
    }
    if (attributes.map_state != IsViewable) {
        throw std::runtime_error("the window to grab is not viewable");
    }
    lastErrorCode = 0;
    std::unique_ptr<XImage, ImageDeleter> image(
        XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap));
    if (!image) {
        throw std::runtime_error("XGetImage failed with X error " +
                                 std::to_string(lastErrorCode.load()) +
                                 " (is the window partly off the screen?)");
    }

    RgbImage picture(attributes.width, attributes.height);
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image.get(), x, y);
            std::uint8_t* rgb = picture.At(x, y);
            rgb[0] = Channel(pixel, image->red_mask);
            rgb[1] = Channel(pixel, image->green_mask);
            rgb[2] = Channel(pixel, image->blue_mask);
        }
    }
    return picture;
}

void XWindowDriver::Sync() { XSync(display, False); }
