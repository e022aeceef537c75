#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/LogEntries.h"

// The rows of docs/errors.md, read back so that the end-to-end tests check the log against
// the table users read.
//
// A row is a table line that starts with its ID (E01, E02, ...). Its third cell lists the
// log entries as code spans, `Kind: text`, where the kind is Title, Heading, Message or
// Error, or Stderr for a line on standard error. In a text, `…` stands for any text, `\t`
// for a tab, `\n` for a line break and `\|` for a bar. "No error entry" in that cell says
// the log has none; "No log is written" says there is no log.
struct ErrorTableRow {
    std::string id;
    int line = 0;                          // in the document
    std::vector<LogEntry> entries;         // patterns, in order
    std::vector<std::string> stderrLines;  // patterns
    bool noErrorEntry = false;
    bool noLog = false;
    std::vector<std::string> problems;  // what is wrong with the row itself
};

// The rows of the document text, in document order.
std::vector<ErrorTableRow> ParseErrorTable(std::string_view document);

// Whether `text` matches `pattern`, in which every `…` matches any text, none included.
bool MatchesPattern(std::string_view pattern, std::string_view text);

// Where `patterns` match consecutive entries of `entries`, kinds equal and texts matching;
// nothing if they match nowhere. An empty list matches at 0.
std::optional<std::size_t> FindRun(const std::vector<LogEntry>& entries,
                                   const std::vector<LogEntry>& patterns);
