// windowshot WINDOW-NAME OUT.png [TIMEOUT-SECONDS]
// windowshot --close WINDOW-NAME [TIMEOUT-SECONDS]
//
// Waits for the window titled WINDOW-NAME on $DISPLAY and saves its picture as a PNG. Once
// the window is there, it waits up to a second more for the picture to settle (two grabs
// in a row alike), so a window that is still drawing its first frame is not caught
// half-done; an animated window is saved as it is at the end of that second.
//
// With --close it asks the window to close instead, as a window manager does when the user
// clicks the close button (WM_DELETE_WINDOW), so scripts without a window manager can end
// a program the way a user would. It does not wait for the program to exit.
//
// Exit status: 0 saved (or the close request sent), 1 no such window in time or the
// picture could not be taken or written, 2 wrong arguments.

#include <chrono>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "XWindowDriver.h"

namespace {

int Usage() {
    std::cerr << "usage: windowshot WINDOW-NAME OUT.png [TIMEOUT-SECONDS]\n"
                 "       windowshot --close WINDOW-NAME [TIMEOUT-SECONDS]\n";
    return 2;
}

// Reads a timeout in seconds; nothing if it is not a number of seconds.
std::optional<double> ParseTimeout(const char* text) {
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(seconds >= 0)) return std::nullopt;
    return seconds;
}

std::optional<WindowId> WaitForWindow(XWindowDriver& driver, const std::string& name,
                                      double timeoutSeconds) {
    const auto timeout = std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
    auto window = driver.FindWindow(name, timeout);
    if (!window) {
        std::cerr << "windowshot: no window named \"" << name << "\" appeared within "
                  << timeoutSeconds << " s\n";
    }
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) return Usage();
    const bool close = std::string(argv[1]) == "--close";
    const std::string name = close ? argv[2] : argv[1];
    double timeoutSeconds = 10.0;
    if (argc == 4) {
        const auto parsed = ParseTimeout(argv[3]);
        if (!parsed) return Usage();
        timeoutSeconds = *parsed;
    }

    try {
        XWindowDriver driver("");
        const auto window = WaitForWindow(driver, name, timeoutSeconds);
        if (!window) return 1;
        if (close) {
            driver.Close(*window);
            driver.Sync();
            return 0;
        }

        const std::string output = argv[2];

        RgbImage picture = driver.Grab(*window);
        const auto settleEnd = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < settleEnd) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            RgbImage next = driver.Grab(*window);
            const bool settled = next == picture;
            picture = std::move(next);
            if (settled) break;
        }

        if (!picture.SavePng(output)) {
            std::cerr << "windowshot: cannot write " << output << "\n";
            return 1;
        }
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << "windowshot: " << failure.what() << "\n";
        return 1;
    }
}
