// scenetool: checks, renders and inspects scenes, and makes R and RA model files, on the
// same engine as the viewer.

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <string>

#include "Commands.h"
#include "ToolStatus.h"

int main(int argc, char** argv) {
    CLI::App app{
        "Checks, renders and inspects scenes for sceneviewer, and makes R and RA\n"
        "model files. Exit status: 0 success, 1 problems found, 2 usage error,\n"
        "3 the work could not be done."};
    app.name("scenetool");
    app.set_version_flag("--version", std::string("scenetool ") + SCENEVIEWER_VERSION);
    app.require_subcommand(1, 1);
    // Narrow enough that each command's line fits a terminal of 80 columns.
    app.get_formatter()->column_width(14);
    CommandRun run;
    AddCheckCommand(app, run);
    AddRenderCommand(app, run);
    AddConvertCommand(app, run);
    AddAnimateCommand(app, run);
    AddInfoCommand(app, run);
    app.footer(
        "Examples:\n"
        "  scenetool check my-scene                   report what is wrong with my-scene\n"
        "  scenetool render my-scene -o start.png     its first frame as a picture\n"
        "  scenetool convert chair.obj chair.r        an R mesh the viewer draws\n"
        "  scenetool animate fan.r keys.csv fan.ra    an RA mesh moving along keys.csv\n"
        "  scenetool info chair.obj                   what chair.obj holds\n"
        "scenetool COMMAND --help tells the whole of a command; see also scenetool(1).");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& failure) {
        // --help is reported as a "parse error" with status 0; everything else is a usage
        // error.
        const int printed = app.exit(failure);
        return printed == 0 ? kSuccess : kUsageError;
    }
    try {
        return run ? run() : kUsageError;
    } catch (const std::exception& failure) {
        std::cerr << "scenetool: " << failure.what() << "\n";
        return kCannotRun;
    }
}
