#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One thing found wrong while loading a scene, as a value: where it is, how it counts and
// what the log says. The log writes `text` as its error entry; tools print the place and
// `Brief()` from the same value, so nothing ever reads a place back out of a text.
struct Problem {
    enum class Severity {
        Error,     // says what is wrong
        Followup,  // only repeats that a section or the load failed, after the entry saying why
    };

    std::string file;  // the file it is in, as the scene names it; empty when no file is known
    int line = 0;      // 1-based line of `file`; 0 when none is known
    std::optional<std::uint64_t> offset;  // the byte in a binary model file, instead of a line
    Severity severity = Severity::Error;
    std::string text;   // the log entry
    std::string brief;  // the text to print after the place, when it differs from `text`
    // For a shader that did not compile: the driver's own report (empty when it said
    // nothing), whose lines name lines of `file`.
    std::optional<std::string> driverLog;

    // The text to print after the place.
    const std::string& Brief() const { return brief.empty() ? text : brief; }

    // A problem with no place: the text alone.
    static Problem Text(std::string text) {
        Problem problem;
        problem.text = std::move(text);
        return problem;
    }
    // A problem of `file` at `line` (0: the whole file).
    static Problem At(std::string file, int line, std::string text) {
        Problem problem;
        problem.file = std::move(file);
        problem.line = line;
        problem.text = std::move(text);
        return problem;
    }

    // A problem at `line` of `file` whose entry opens with that place: "FILE line LINE"
    // followed by `rest` (": the R object ..." or " is not well-formed XML ..."). Where the
    // place is printed apart, it stands for that opening.
    static Problem AtLine(const std::string& file, int line, const std::string& rest) {
        Problem problem = At(file, line, file + " line " + std::to_string(line) + rest);
        problem.brief = rest.starts_with(": ") ? rest.substr(2) : file + rest;
        return problem;
    }
    // The same problem, its entry opened with the place where the scene file `file`
    // describes what it is about: "FILE line LINE: " and the entry as it was, which becomes
    // the brief, so what tools print stays. A problem with no file takes that place (then
    // it is what AtLine gives); one placed in another file (a model file, a shader source)
    // stays there. The entry is kept without a line (0: a record not read from a file) or
    // when it already opens with a line of `file`.
    Problem DescribedAt(const std::string& file, int line) const {
        Problem problem = *this;
        if (problem.file.empty()) {
            problem.file = file;
            problem.line = line;
        }
        if (line <= 0 || text.starts_with(file + " line ")) return problem;
        problem.brief = Brief();
        problem.text = file + " line " + std::to_string(line) + ": " + text;
        return problem;
    }
    // A fixed entry that follows the one saying what went wrong, about the whole of `file`.
    static Problem Followup(std::string file, std::string text) {
        Problem problem = At(std::move(file), 0, std::move(text));
        problem.severity = Severity::Followup;
        return problem;
    }

    bool operator==(const Problem&) const = default;
};
