#include "ErrorTable.h"

#include <map>
#include <utility>

namespace {

constexpr std::string_view kAnyText = "\u2026";  // …

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsRowId(std::string_view cell) {
    if (cell.size() < 2 || cell[0] != 'E') return false;
    for (const char c : cell.substr(1)) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The cells of a table line, split at bars that are not escaped; the text before the
// first bar and after the last is dropped.
std::vector<std::string_view> Cells(std::string_view line) {
    std::vector<std::string_view> cells;
    std::size_t start = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
            continue;
        }
        if (line[i] != '|') continue;
        if (start != std::string_view::npos) cells.push_back(line.substr(start, i - start));
        start = i + 1;
    }
    return cells;
}

std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case '|': out += '|'; break;
            case '\\': out += '\\'; break;
            default: out += '\\'; out += text[i];
        }
    }
    return out;
}

void ReadEntries(std::string_view cell, ErrorTableRow& row) {
    static const std::pair<std::string_view, LogEntry::Kind> kKinds[] = {
        {"Title: ", LogEntry::Kind::Title},
        {"Heading: ", LogEntry::Kind::Heading},
        {"Message: ", LogEntry::Kind::Message},
        {"Error: ", LogEntry::Kind::Error},
    };
    constexpr std::string_view kStderr = "Stderr: ";
    for (std::size_t open = cell.find('`'); open != std::string_view::npos;
         open = cell.find('`', open)) {
        const std::size_t close = cell.find('`', open + 1);
        if (close == std::string_view::npos) {
            row.problems.push_back("a code span is not closed");
            return;
        }
        const std::string span = Unescaped(cell.substr(open + 1, close - open - 1));
        open = close + 1;
        if (span.starts_with(kStderr)) {
            row.stderrLines.push_back(span.substr(kStderr.size()));
            continue;
        }
        bool known = false;
        for (const auto& [prefix, kind] : kKinds) {
            if (!span.starts_with(prefix)) continue;
            row.entries.push_back({kind, span.substr(prefix.size())});
            known = true;
            break;
        }
        if (!known) row.problems.push_back("`" + span + "` is not a log entry (Kind: text)");
    }
}

}  // namespace

std::vector<ErrorTableRow> ParseErrorTable(std::string_view document) {
    std::vector<ErrorTableRow> rows;
    std::map<std::string, int, std::less<>> firstLines;
    int lineNumber = 0;
    while (!document.empty()) {
        const std::size_t end = document.find('\n');
        const std::string_view line = document.substr(0, end);
        document.remove_prefix(end == std::string_view::npos ? document.size() : end + 1);
        ++lineNumber;
        if (!Trimmed(line).starts_with('|')) continue;
        const auto cells = Cells(line);
        if (cells.empty() || !IsRowId(Trimmed(cells[0]))) continue;

        ErrorTableRow& row = rows.emplace_back();
        row.id = Trimmed(cells[0]);
        row.line = lineNumber;
        if (const auto [first, added] = firstLines.try_emplace(row.id, lineNumber); !added) {
            row.problems.push_back("the ID is used again; its first row is on line " +
                                   std::to_string(first->second));
        }
        if (cells.size() != 4) {
            row.problems.push_back("the row has " + std::to_string(cells.size()) +
                                   " cells instead of 4");
            continue;
        }
        const std::string_view entries = cells[2];
        ReadEntries(entries, row);
        row.noErrorEntry = entries.find("No error entry") != std::string_view::npos;
        row.noLog = entries.find("No log is written") != std::string_view::npos;
        if (row.entries.empty() && row.stderrLines.empty() && !row.noErrorEntry) {
            row.problems.push_back("the row lists no entry and does not say \"No error entry\"");
        }
        if (row.noLog && !row.entries.empty()) {
            row.problems.push_back("the row says no log is written but lists log entries");
        }
        if (!row.noLog && !row.stderrLines.empty()) {
            row.problems.push_back("the row lists standard error lines but has a log");
        }
    }
    return rows;
}

bool MatchesPattern(std::string_view pattern, std::string_view text) {
    const std::size_t firstWildcard = pattern.find(kAnyText);
    if (firstWildcard == std::string_view::npos) return pattern == text;
    // The pieces between wildcards: the first must start the text and the last end it; the
    // ones between are taken at their earliest place, which leaves the most room after.
    const std::string_view head = pattern.substr(0, firstWildcard);
    if (!text.starts_with(head)) return false;
    text.remove_prefix(head.size());
    pattern.remove_prefix(firstWildcard + kAnyText.size());
    for (std::size_t next = pattern.find(kAnyText); next != std::string_view::npos;
         next = pattern.find(kAnyText)) {
        const std::string_view piece = pattern.substr(0, next);
        const std::size_t at = text.find(piece);
        if (at == std::string_view::npos) return false;
        text.remove_prefix(at + piece.size());
        pattern.remove_prefix(next + kAnyText.size());
    }
    return text.size() >= pattern.size() && text.ends_with(pattern);
}

std::optional<std::size_t> FindRun(const std::vector<LogEntry>& entries,
                                   const std::vector<LogEntry>& patterns) {
    if (patterns.empty()) return 0;
    for (std::size_t start = 0; start + patterns.size() <= entries.size(); ++start) {
        bool all = true;
        for (std::size_t i = 0; i < patterns.size() && all; ++i) {
            const LogEntry& entry = entries[start + i];
            all = entry.kind == patterns[i].kind && MatchesPattern(patterns[i].text, entry.text);
        }
        if (all) return start;
    }
    return std::nullopt;
}
