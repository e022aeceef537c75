// windowshot WINDOW-NAME OUT.png [TIMEOUT-SECONDS]
//
// Waits for the window titled WINDOW-NAME on $DISPLAY and saves its picture as a PNG. Once
// the window is there, it waits up to a second more for the picture to settle (two grabs
// in a row alike), so a window that is still drawing its first frame is not caught
// half-done; an animated window is saved as it is at the end of that second.
//
// Exit status: 0 saved, 1 no such window in time or the picture could not be taken or
// written, 2 wrong arguments.

#include <chrono>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <thread>

#include "XWindowDriver.h"

namespace {

int Usage() {
    std::cerr << "usage: windowshot WINDOW-NAME OUT.png [TIMEOUT-SECONDS]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) return Usage();
    const std::string name = argv[1];
    const std::string output = argv[2];
    double timeoutSeconds = 10.0;
    if (argc == 4) {
        char* end = nullptr;
        timeoutSeconds = std::strtod(argv[3], &end);
        if (end == argv[3] || *end != '\0' || timeoutSeconds < 0) return Usage();
    }

    try {
        XWindowDriver driver("");
        const auto timeout =
            std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
        const auto window = driver.FindWindow(name, timeout);
        if (!window) {
            std::cerr << "windowshot: no window named \"" << name << "\" appeared within "
                      << timeoutSeconds << " s\n";
            return 1;
        }

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
