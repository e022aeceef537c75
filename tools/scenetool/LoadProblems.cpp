#include "LoadProblems.h"

#include <cctype>
#include <string_view>

namespace {

// The source line that a line of a driver's compile report names, or 0. Mesa writes
// "0:LINE(COLUMN): error: ...", other drivers "ERROR: 0:LINE: ...": the first pair of
// numbers "N:LINE" (not part of a longer number), followed by ":" or "(COLUMN):".
int SourceLine(std::string_view text) {
    const auto digits = [&](std::size_t at) {
        std::size_t end = at;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        return end;
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!std::isdigit(static_cast<unsigned char>(text[at]))) continue;
        if (at > 0 && std::isdigit(static_cast<unsigned char>(text[at - 1]))) continue;
        std::size_t end = digits(at);
        if (end >= text.size() || text[end] != ':') continue;
        const std::size_t lineStart = end + 1;
        const std::size_t lineEnd = digits(lineStart);
        if (lineEnd == lineStart) continue;
        std::size_t after = lineEnd;
        if (after < text.size() && text[after] == '(') {
            const std::size_t columnEnd = digits(after + 1);
            if (columnEnd == after + 1 || columnEnd >= text.size() || text[columnEnd] != ')') {
                continue;
            }
            after = columnEnd + 1;
        }
        if (after >= text.size() || text[after] != ':') continue;
        return std::stoi(std::string(text.substr(lineStart, lineEnd - lineStart)));
    }
    return 0;
}

void AddDriverReport(const Problem& problem, std::vector<Problem>& problems) {
    const std::string& report = *problem.driverLog;
    bool any = false;
    std::size_t start = 0;
    while (start < report.size()) {
        std::size_t end = report.find('\n', start);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(start, end - start);
        start = end + 1;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        problems.push_back(Problem::At(problem.file, SourceLine(line), line));
        any = true;
    }
    if (!any) {
        problems.push_back(
            Problem::At(problem.file, 0, "did not compile, and the driver says nothing more"));
    }
}

}  // namespace

std::vector<Problem> LoadProblems(const std::vector<Problem>& reported) {
    std::vector<Problem> problems;
    bool explained = false;
    for (const Problem& problem : reported) {
        if (problem.severity == Problem::Severity::Followup) {
            if (!explained) problems.push_back(problem);
            continue;
        }
        explained = true;
        if (problem.driverLog) {
            AddDriverReport(problem, problems);
        } else {
            problems.push_back(problem);
            if (problems.back().file.empty()) problems.back().file = "Scene.xml";
        }
    }
    return problems;
}
