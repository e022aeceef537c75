// scenetool convert: an OBJ model made into an R mesh file, with polygons fanned into
// triangles, faces turned to the viewer's clockwise front, shared vertices merged and
// missing normals computed.

#include <CLI/CLI.hpp>

#include <cmath>
#include <iostream>
#include <memory>
#include <string>

#include "Commands.h"
#include "Counted.h"
#include "ToolStatus.h"
#include "ObjMeshBuilder.h"
#include "objects/ModelFileError.h"
#include "objects/OBJModelReading.h"
#include "objects/RFileWriter.h"

namespace {

struct ConvertOptions {
    std::string input;
    std::string output;
    float scale = 0.1f;
    bool keepWinding = false;
};

int Convert(const ConvertOptions& options) {
    if (!(options.scale > 0.0f) || !std::isfinite(options.scale)) {
        std::cerr << "scenetool convert: --scale must be a positive number, not " << options.scale
                  << "\n";
        return kUsageError;
    }
    OBJReadResult read;
    try {
        read = ReadOBJModelFile(options.input, {.factor = options.scale, .polygons = true});
    } catch (const ModelFileError& failure) {
        std::cerr << "scenetool convert: " << failure.what() << "\n";
        return kProblemsFound;
    }
    ObjMeshBuilder mesh(read.model, options.input, options.keepWinding);
    mesh.Build();

    // In line order: the faces' problems all come before the line where reading stopped.
    for (const std::string& problem : mesh.Problems()) std::cerr << problem << "\n";
    for (const Problem& problem : read.problems) {
        std::cerr << options.input << ":" << read.stopLine << ": " << problem.text << "\n";
    }
    const bool problems = !mesh.Problems().empty() || !read.problems.empty();

    // What could be read is written, as the viewer draws what it can read; a file with
    // nothing to draw is not.
    if (mesh.Indices().empty()) {
        std::cerr << "scenetool convert: " << options.input
                  << " has no face to convert; nothing written\n";
        return kProblemsFound;
    }
    const std::string failure =
        WriteModelFile(options.output, EncodeRFile(mesh.Vertices(), mesh.Indices()));
    if (!failure.empty()) {
        std::cerr << "scenetool convert: " << failure << "\n";
        return kCannotRun;
    }
    for (const std::string& turned : mesh.Turned()) std::cout << turned << "\n";
    std::cout << "Wrote " << Counted(mesh.Vertices().size(), "vertex", "vertices") << " and "
              << Counted(mesh.Indices().size() / 3, "triangle", "triangles") << " to "
              << options.output << (problems ? " (faces with problems left out)" : "") << "\n";
    return problems ? kProblemsFound : kSuccess;
}

}  // namespace

void AddConvertCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* command = app.add_subcommand("convert", "Make an R mesh file from an OBJ model");
    command->footer(
        "Makes an R mesh file from an OBJ model. v, vt and vn are read as the viewer reads "
        "them, positions multiplied by 0.1 (or --scale). Faces of any number of corners "
        "(p, p/t, p//n, p/t/n; negative indices count back) are fanned into triangles. The "
        "viewer takes clockwise faces as the front, OBJ files mostly counter-clockwise: a face "
        "that winds counter-clockwise as seen from the side its normals point to is turned; "
        "faces without normals are turned when most faces with normals wind "
        "counter-clockwise, or, without any, when they enclose a positive volume or about "
        "none (open or flat). What was turned is printed. Equal corners share a vertex; "
        "corners without a normal get smooth area-weighted normals facing the side from "
        "which the faces run clockwise, the viewer's front. Faces with an index out of range "
        "are printed as IN:LINE: and left out: the rest is still written, with status 1.");
    command->add_option("IN", options->input, "OBJ file to read")->required();
    command->add_option("OUT", options->output, "R file to write")->required();
    command->add_option("--scale", options->scale,
                        "factor for the positions, above 0 (default: 0.1, as the viewer)");
    command->add_flag("--keep-winding", options->keepWinding,
                      "write every face wound as in the file, turning none");
    command->callback([options, &run] { run = [options] { return Convert(*options); }; });
}
