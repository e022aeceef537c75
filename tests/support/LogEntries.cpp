#include "support/LogEntries.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <string_view>

const std::string kGreyBar =
    "<table width=* cellspacing=0 cellpadding=0><tr><td width=0 bgcolor=#EDEDF5>&nbsp;</td>"
    "<td width=0 bgcolor=#FFFFFF>&nbsp;</td><td width=*><pre>";
const std::string kRedBar =
    "<table width=* cellspacing=0 cellpadding=0><tr><td width=0 bgcolor=#ED0000>&nbsp;</td>"
    "<td width=0 bgcolor=#FFFFFF>&nbsp;</td><td width=*><pre>";

namespace {

const std::string kBarEnd = "</pre></table>";
const std::string kTitleBar =
    "<table width=100% bgcolor=#FFC742><tr><td><font face=arial size=+2>\n";
const std::string kFontEnd = "</font></table>";
const std::string kErrorLabel = "<font color=red face=arial size=+1 >Exception: </font>\n";
const std::string kHeaderStart =
    "<html>\n<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">\n"
    "</head>\n<body>\n<pre>\n"
    "<table width=100% bgcolor=#FAAE47><tr> <td> <font face=arial size=+3>\n";
const std::string kClosing =
    "<table width=100% height=20 bgcolor=#FAAE47><tr><td></table>\n</pre>\n</body>\n</html>\n";

bool Take(std::string_view& rest, std::string_view prefix) {
    if (!rest.starts_with(prefix)) return false;
    rest.remove_prefix(prefix.size());
    return true;
}

bool TakeUntil(std::string_view& rest, std::string_view end, std::string& out) {
    const auto at = rest.find(end);
    if (at == std::string_view::npos) return false;
    out = rest.substr(0, at);
    rest.remove_prefix(at + end.size());
    return true;
}

// An entry's text as it was written: the log escapes the four characters that HTML gives
// a meaning to.
std::string Unescaped(const std::string& html) {
    static const std::pair<std::string_view, char> kEscapes[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        bool replaced = false;
        for (const auto& [escape, character] : kEscapes) {
            if (html.compare(i, escape.size(), escape) == 0) {
                text += character;
                i += escape.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) text += html[i++];
    }
    return text;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const LogEntry& entry) {
    static const char* kNames[] = {"Title", "Heading", "Message", "Error"};
    return out << kNames[static_cast<int>(entry.kind)] << "(\"" << entry.text << "\")";
}

LogEntry Title(std::string text) { return {LogEntry::Kind::Title, std::move(text)}; }
LogEntry Heading(std::string text) { return {LogEntry::Kind::Heading, std::move(text)}; }
LogEntry Message(std::string text) { return {LogEntry::Kind::Message, std::move(text)}; }
LogEntry Error(std::string text) { return {LogEntry::Kind::Error, std::move(text)}; }

std::optional<ParsedLog> ParseLog(const std::string& page) {
    ParsedLog log;
    std::string_view rest = page;
    if (!Take(rest, kHeaderStart)) return std::nullopt;
    if (!TakeUntil(rest, "\n", log.title)) return std::nullopt;
    if (!Take(rest, kFontEnd + "\n" + kGreyBar + "\n<h3>Loging started: ")) return std::nullopt;
    if (!TakeUntil(rest, "</h3></pre></table></font>\n", log.startedAt)) return std::nullopt;

    while (!rest.empty()) {
        std::string text;
        if (rest == kClosing) {
            log.closed = true;
            break;
        }
        if (Take(rest, kTitleBar)) {
            if (!TakeUntil(rest, "\n" + kFontEnd, text)) return std::nullopt;
            log.entries.push_back(Title(Unescaped(text)));
        } else if (Take(rest, kRedBar)) {
            if (!Take(rest, kErrorLabel) || !TakeUntil(rest, kBarEnd, text)) return std::nullopt;
            log.entries.push_back(Error(Unescaped(text)));
        } else if (Take(rest, kGreyBar)) {
            if (!TakeUntil(rest, kBarEnd, text)) return std::nullopt;
            if (text.starts_with("<h3>") && text.ends_with("</h3>")) {
                log.entries.push_back(Heading(Unescaped(text.substr(4, text.size() - 9))));
            } else {
                log.entries.push_back(Message(Unescaped(text)));
            }
        } else {
            return std::nullopt;
        }
    }
    return log;
}

const std::string kTime = "TIME";

std::vector<LogEntry> WithTimesMasked(std::vector<LogEntry> entries) {
    static const std::regex stamp(
        R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}$)");
    for (LogEntry& entry : entries) entry.text = std::regex_replace(entry.text, stamp, kTime);
    return entries;
}

std::vector<LogEntry> EntriesOf(const std::string& path) {
    const auto parsed = ParseLog(ReadFile(path));
    return parsed ? WithTimesMasked(parsed->entries)
                  : std::vector<LogEntry>{Error("unreadable log " + path)};
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
