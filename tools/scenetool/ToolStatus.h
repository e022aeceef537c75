#pragma once

// The tool's exit statuses, the same for every command.
enum ToolStatus : int {
    kSuccess = 0,
    kProblemsFound = 1,  // the command ran and found problems in the user's files
    kUsageError = 2,     // the command line is wrong; nothing was done
    kCannotRun = 3,      // the command could not do its work (no OpenGL, an unwritable output)
};
