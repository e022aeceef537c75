#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Reads a log file back into its entries, so tests can state the sequence they expect
// instead of comparing markup.
// The bars that open message and heading entries (grey) and error entries (red).
extern const std::string kGreyBar;
extern const std::string kRedBar;

struct LogEntry {
    enum class Kind { Title, Heading, Message, Error };
    Kind kind;
    std::string text;  // as written into the page (escaped)

    bool operator==(const LogEntry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LogEntry& entry);

// Shorthands for expected sequences.
LogEntry Title(std::string text);
LogEntry Heading(std::string text);
LogEntry Message(std::string text);
LogEntry Error(std::string text);

struct ParsedLog {
    std::string title;              // the page title from the header
    std::string startedAt;          // the header's time stamp
    std::vector<LogEntry> entries;  // in file order
    bool closed = false;            // the closing lines end the file
};

// Parses the text of a log page; returns nothing if the header is missing or something
// between the entries is not an entry.
std::optional<ParsedLog> ParseLog(const std::string& page);

// The entries with a time stamp at the end of a text ("... Tue Dec  8 07:56:05 2026")
// replaced by kTime, so runs at different times give the same sequence.
extern const std::string kTime;
std::vector<LogEntry> WithTimesMasked(std::vector<LogEntry> entries);

// The entries of the log file at `path` with times masked; a single error entry saying so
// when the file is missing or not a log.
std::vector<LogEntry> EntriesOf(const std::string& path);

// The whole content of a file ("" if it cannot be read).
std::string ReadFile(const std::string& path);
