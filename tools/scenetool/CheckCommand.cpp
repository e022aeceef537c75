// scenetool check: a scene loaded as the viewer loads it, without a window, and every
// problem printed where it is.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "Commands.h"
#include "Counted.h"
#include "ToolStatus.h"
#include "LoadProblems.h"
#include "ModelLint.h"
#include "ProblemFormat.h"
#include "SceneIndex.h"
#include "SceneLint.h"
#include "SceneSession.h"
#include "StartView.h"

namespace {

struct CheckOptions {
    std::string folder = ".";
    std::string log = "/dev/null";
};

int Check(const CheckOptions& options) {
    const std::string logPath = std::filesystem::absolute(options.log).string();
    SceneSession session(options.folder, 500, 500, logPath);
    if (!session.Failure().empty()) {
        std::cerr << "scenetool check: " << session.Failure() << "\n";
        return kCannotRun;
    }
    session.Load();
    // The first frame sets the camera's start, which the notes on objects' sizes need.
    session.DrawFrame();
    const StartView view = StartView::OfLastFrame();
    // The session works in the scene folder.
    const SceneIndex index = SceneIndex::Read("Scene.xml");
    auto errors = LoadProblems(session.Errors());
    auto warnings = FindLikelyMistakes(index, session.Registry(), session.Errors());
    // Notes on model files complete the loader's entries where they explain them.
    for (const ModelNote& note : JoinModelNotes(errors, FindModelNotes(index, view))) {
        (note.drawsNothing ? errors : warnings)
            .push_back(Problem::At(note.file, note.line, note.text));
    }

    for (const Problem& problem : errors)
        std::cout << FormatProblem(problem, options.folder) << "\n";
    for (Problem problem : warnings) {
        problem.text = "warning: " + problem.Brief();
        problem.brief.clear();
        std::cout << FormatProblem(problem, options.folder) << "\n";
    }
    const std::string scene = FormatProblem(Problem::At("Scene.xml", 0, ""), options.folder);
    const std::string where = scene.substr(0, scene.size() - 2);
    if (errors.empty() && warnings.empty()) {
        std::cout << where << ": no problems found.\n";
        return kSuccess;
    }
    std::cout << where << ": " << Counted(errors.size(), "error", "errors") << " and "
              << Counted(warnings.size(), "warning", "warnings")
              << " (things the viewer accepts but that are "
              << "likely mistakes).\n";
    return kProblemsFound;
}

}  // namespace

void AddCheckCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command =
        app.add_subcommand("check", "Report every problem and likely mistake in a scene folder");
    command->footer(
        "Loads DIR/Scene.xml and every file it names exactly as the viewer does, in an offscreen "
        "OpenGL context (no display needed), and prints each problem as FILE:LINE: MESSAGE "
        "(model files: OBJ line, or byte offset for R and RA; shaders: the compiler's log), "
        "then a summary. Also warns about what the viewer accepts but is likely a mistake: "
        "scale 0, textures, programs and effects never used or defined twice, samplers and "
        "uniforms the program does not have, attributes not read, values that read otherwise, "
        "definitions not loaded after a failure; OBJ faces it shows from the back because they "
        "wind counter-clockwise, faces of more than three corners, faces without normals, "
        "each with what to do; an R element naming an RA file; objects too small or far to "
        "cover a pixel seen from the camera's start. A model file that is not the type its "
        "element names and draws nothing is an error. Status 0 when nothing is found, 1 "
        "otherwise.");
    command->add_option("DIR", options->folder, "scene folder holding Scene.xml (default: .)");
    command->add_option("--log", options->log, "also write the viewer's Log.htm to this file");
    command->callback([options, &run] { run = [options] { return Check(*options); }; });
}
