// scenetool animate: an R mesh and translation keys from a CSV file made into an RA file.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>

#include "Commands.h"
#include "Counted.h"
#include "ToolStatus.h"
#include "KeyTable.h"
#include "common/FileError.h"
#include "common/WholeFile.h"
#include "objects/ModelFileError.h"
#include "objects/RFileWriter.h"
#include "objects/RMeshReading.h"

namespace {

struct AnimateOptions {
    std::string mesh;
    std::string keys;
    std::string output;
};

int Animate(const AnimateOptions& options) {
    bool failed = false;
    RMesh mesh;
    try {
        mesh = ReadRMeshFile(options.mesh);
    } catch (const ModelFileError& failure) {
        std::cerr << "scenetool animate: " << failure.what() << "\n";
        failed = true;
    }
    KeyTable keys(options.keys);
    try {
        keys.Read(ReadWholeFile(options.keys));
    } catch (const FileError& failure) {
        std::cerr << "scenetool animate: The key file " << options.keys << failure.Reason() << "\n";
        failed = true;
    }
    for (const std::string& problem : keys.Problems()) std::cerr << problem << "\n";
    if (failed || !keys.Problems().empty()) {
        std::cerr << "scenetool animate: nothing written\n";
        return kProblemsFound;
    }

    const std::string bytes =
        EncodeRAFile({mesh.vertices.data.get(), mesh.vertices.count},
                     {mesh.indices.data.get(), mesh.indices.count}, keys.Keys(), {});
    const std::string failure = WriteModelFile(options.output, bytes);
    if (!failure.empty()) {
        std::cerr << "scenetool animate: " << failure << "\n";
        return kCannotRun;
    }
    const auto& written = keys.Keys();
    std::cout << "Wrote " << Counted(mesh.vertices.count, "vertex", "vertices") << ", "
              << Counted(mesh.indices.count / 3, "triangle", "triangles") << " and "
              << Counted(written.size(), "translation key", "translation keys");
    if (!written.empty()) {
        std::cout << " (" << written.front().time << " ms to " << written.back().time << " ms)";
    }
    std::cout << " to " << options.output << "\n";
    return kSuccess;
}

}  // namespace

void AddAnimateCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<AnimateOptions>();
    CLI::App* command =
        app.add_subcommand("animate", "Make an RA file from an R mesh and translation keys");
    command->footer(
        "Makes an RA file from an R mesh and translation keys. KEYS is CSV, one key a line: "
        "time_ms,x,y,z (whole milliseconds, in time order; blanks around fields, blank "
        "lines, # comments and a first line time_ms,x,y,z are allowed). The second track is "
        "written empty. Any bad line is printed as KEYS:LINE: and nothing is written.");
    command->add_option("MESH", options->mesh, "R file to read")->required();
    command->add_option("KEYS", options->keys, "CSV file of translation keys")->required();
    command->add_option("OUT", options->output, "RA file to write")->required();
    command->callback([options, &run] { run = [options] { return Animate(*options); }; });
}
