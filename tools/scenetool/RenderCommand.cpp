// scenetool render: a scene drawn offscreen as the viewer's window shows it, saved as PNG.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolStatus.h"
#include "RgbImage.h"
#include "SceneSession.h"

namespace {

struct RenderOptions {
    std::string folder = ".";
    std::string output;
    std::string size = "500x500";
    std::int32_t time = 0;
    int frames = 0;  // 0: one frame, no statistics
    std::string log = "/dev/null";
};

// "WxH", digits only, with both sides from 1 to 8192; false otherwise.
bool ParseSize(const std::string& text, int& width, int& height) {
    const char* end = text.data() + text.size();
    const auto [afterWidth, widthError] = std::from_chars(text.data(), end, width);
    if (widthError != std::errc() || afterWidth == end || *afterWidth != 'x') return false;
    const char* heightStart = afterWidth + 1;
    // from_chars takes a leading minus sign; a size has none.
    if (text.front() == '-' || (heightStart < end && *heightStart == '-')) return false;
    const auto [afterHeight, heightError] = std::from_chars(heightStart, end, height);
    return heightError == std::errc() && afterHeight == end && width >= 1 && height >= 1 &&
           width <= 8192 && height <= 8192;
}

// Prints min, median and max frame time and the frames per second they make.
void PrintFrameTimes(std::vector<double> milliseconds) {
    std::sort(milliseconds.begin(), milliseconds.end());
    double sum = 0.0;
    for (double m : milliseconds) sum += m;
    const double median = milliseconds[milliseconds.size() / 2];
    std::printf("%zu frame%s: min %.3f ms, median %.3f ms, max %.3f ms, %.1f frames per second\n",
                milliseconds.size(), milliseconds.size() == 1 ? "" : "s", milliseconds.front(),
                median, milliseconds.back(),
                sum > 0.0 ? 1000.0 * static_cast<double>(milliseconds.size()) / sum : 0.0);
}

int Render(const RenderOptions& options) {
    int width = 0, height = 0;
    if (!ParseSize(options.size, width, height)) {
        std::cerr << "scenetool render: --size must be WIDTHxHEIGHT, each 1 to 8192, not "
                  << options.size << "\n";
        return kUsageError;
    }
    // The session works in the scene folder; the output and the log are named from here.
    const std::string output = std::filesystem::absolute(options.output).string();
    const std::string logPath = std::filesystem::absolute(options.log).string();

    SceneSession session(options.folder, width, height, logPath);
    if (!session.Failure().empty()) {
        std::cerr << "scenetool render: " << session.Failure() << "\n";
        return kCannotRun;
    }
    session.Load();
    for (const Problem& error : session.Errors()) {
        std::cerr << "scenetool render: the scene has a problem: " << error.text << "\n";
    }
    session.SetTime(options.time);

    std::vector<double> frameTimes;
    for (int frame = 0; frame < std::max(options.frames, 1); ++frame) {
        const auto start = std::chrono::steady_clock::now();
        session.DrawFrame();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        frameTimes.push_back(spent.count());
    }
    if (options.frames > 0) PrintFrameTimes(frameTimes);

    if (!session.Picture().SavePng(output)) {
        std::cerr << "scenetool render: cannot write " << output << "\n";
        return kCannotRun;
    }
    return session.Errors().empty() ? kSuccess : kProblemsFound;
}

}  // namespace

void AddRenderCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<RenderOptions>();
    CLI::App* command =
        app.add_subcommand("render", "Draw a scene's first frame offscreen into a PNG");
    command->footer(
        "Draws the scene of DIR offscreen as the viewer's window shows it at the start (camera, "
        "state, effects) and writes a PNG. Needs no display. Problems in the scene are "
        "printed and make the status 1, but the picture is still written, as the viewer "
        "still draws what loaded.");
    command->add_option("DIR", options->folder, "scene folder holding Scene.xml (default: .)");
    command->add_option("-o,--output", options->output, "PNG file to write")->required();
    command->add_option("--size", options->size, "picture size WIDTHxHEIGHT (default: 500x500)");
    command->add_option("--time", options->time,
                        "animation time in milliseconds, as if space had started the clock "
                        "that long ago (default: 0)");
    command
        ->add_option("--frames", options->frames,
                     "draw N frames and print min, median and max frame time and frames per "
                     "second; the last frame is written")
        ->check(CLI::Range(1, 1000000));
    command->add_option("--log", options->log, "also write the viewer's Log.htm to this file");
    command->callback([options, &run] { run = [options] { return Render(*options); }; });
}
