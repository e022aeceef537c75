#include "ScenetoolRun.h"

#include <fstream>
#include <sstream>

#include "support/ChildProcess.h"
#include "support/TempFolder.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ToolResult RunScenetool(const std::vector<std::string>& arguments,
                        const std::filesystem::path& workingDirectory,
                        const EnvironmentChanges& environment) {
    TempFolder streams;
    ChildOptions options;
    options.argv.push_back(SCENETOOL_PATH);
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.workingDirectory = workingDirectory;
    options.environment = environment;
    options.outputFile = streams.Path() / "stdout";
    options.errorFile = streams.Path() / "stderr";
    ToolResult result;
    {
        ChildProcess tool(options);
        const auto status = tool.WaitForExit(std::chrono::seconds(60));
        if (status.kind == ExitStatus::Kind::Exited) result.status = status.value;
    }
    result.output = ReadAll(options.outputFile);
    result.errors = ReadAll(options.errorFile);
    return result;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
