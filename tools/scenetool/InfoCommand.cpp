// scenetool info: what a model file holds, read as the viewer reads it.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolStatus.h"
#include "ModelAdvice.h"
#include "ModelInfo.h"
#include "objects/ModelFileError.h"

namespace {

int Info(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    ModelInfo (*describe)(const std::string&) = nullptr;
    std::string type;
    if (extension == ".r") describe = &ModelInfo::OfR, type = "R";
    if (extension == ".ra") describe = &ModelInfo::OfRA, type = "RA";
    if (extension == ".obj") describe = &ModelInfo::OfOBJ, type = "OBJ";
    if (!describe) {
        std::cerr << "scenetool info: " << path
                  << " is not a model file by its name: it must end in .r, .ra or .obj\n";
        return kUsageError;
    }
    try {
        const ModelInfo info = describe(path);
        for (const std::string& line : info.Lines()) std::cout << line << "\n";
        if (info.Problems().empty()) {
            std::cout << "problems: none\n";
            return kSuccess;
        }
        std::cout << "problems: " << info.Problems().size() << "\n";
        for (const std::string& problem : info.Problems()) std::cout << "  " << problem << "\n";
        return kProblemsFound;
    } catch (const ModelFileError& failure) {
        // The reader's message, completed by what the file holds when it is another type.
        std::vector<Problem> problem = {failure.problem};
        JoinModelNotes(problem, ExplainContent(type, path, ModelContent::Of(path), 0));
        std::cerr << "scenetool info: " << problem.front().Brief() << "\n";
        return kProblemsFound;
    }
}

}  // namespace

void AddInfoCommand(CLI::App& app, CommandRun& run) {
    auto path = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("info", "Print what a model file holds, and its problems");
    command->footer(
        "Prints what a model file holds, read as the viewer reads it, by its extension (.r, "
        ".ra, .obj, any case): vertex and triangle counts, RA translation keys (the first ten "
        "listed) and second-track key count, OBJ positions, texture coordinates, normals and "
        "faces, the bounds of the positions (OBJ: times 0.1), and problems: what the readers "
        "report, and what the viewer makes of the file with what to do about it (OBJ faces "
        "it shows from the back because they wind counter-clockwise, faces of more than three "
        "corners, missing normals; content of another type than the name says). Status 0 "
        "when there are none, 1 when there are or the file cannot be read.");
    command->add_option("FILE", *path, "R, RA or OBJ file")->required();
    command->callback([path, &run] { run = [path] { return Info(*path); }; });
}
