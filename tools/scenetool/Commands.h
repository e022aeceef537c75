#pragma once

#include <functional>

namespace CLI {
class App;
}

// What the chosen command does once the whole command line has been parsed; returns a
// ToolStatus.
using CommandRun = std::function<int()>;

// Each adds its subcommand, with its options and help, to `app`. When the subcommand is
// chosen, parsing stores its work in `run`.
void AddCheckCommand(CLI::App& app, CommandRun& run);
void AddRenderCommand(CLI::App& app, CommandRun& run);
void AddConvertCommand(CLI::App& app, CommandRun& run);
void AddAnimateCommand(CLI::App& app, CommandRun& run);
void AddInfoCommand(CLI::App& app, CommandRun& run);
