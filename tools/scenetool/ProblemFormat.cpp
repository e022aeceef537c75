#include "ProblemFormat.h"

std::string FormatProblem(const Problem& problem, const std::string& folder) {
    std::string text;
    if (!folder.empty() && folder != ".") {
        text = folder;
        if (text.back() != '/') text += '/';
    }
    text += problem.file;
    if (problem.line > 0) {
        text += ":" + std::to_string(problem.line);
    } else if (problem.offset.value_or(0) > 0) {
        text += ":" + std::to_string(*problem.offset);
    }
    // One problem, one line: a driver's log of several lines is joined.
    std::string message = problem.Brief();
    for (char& c : message) {
        if (c == '\n') c = ' ';
    }
    return text + ": " + message;
}
