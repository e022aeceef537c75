#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

// One run of the scenetool program: what it printed and how it ended.
struct ToolResult {
    int status = -1;     // the exit code; -1 if it did not exit normally
    std::string output;  // stdout
    std::string errors;  // stderr
};

// Runs scenetool with `arguments` in `workingDirectory` (this process's when empty), with
// `environment` added to this process's, and waits up to a minute for it.
ToolResult RunScenetool(const std::vector<std::string>& arguments,
                        const std::filesystem::path& workingDirectory = {},
                        const EnvironmentChanges& environment = {});

// The lines of `text`, without their line ends.
std::vector<std::string> Lines(const std::string& text);
