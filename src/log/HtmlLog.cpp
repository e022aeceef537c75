#include "log/HtmlLog.h"

#include <cstdio>
#include <initializer_list>

namespace {

constexpr std::string_view kGreyBar =
    "<table width=* cellspacing=0 cellpadding=0><tr><td width=0 bgcolor=#EDEDF5>&nbsp;</td>"
    "<td width=0 bgcolor=#FFFFFF>&nbsp;</td><td width=*><pre>";
constexpr std::string_view kRedBar =
    "<table width=* cellspacing=0 cellpadding=0><tr><td width=0 bgcolor=#ED0000>&nbsp;</td>"
    "<td width=0 bgcolor=#FFFFFF>&nbsp;</td><td width=*><pre>";
constexpr std::string_view kBarEnd = "</pre></table>";
constexpr std::string_view kTitleBar =
    "<table width=100% bgcolor=#FFC742><tr><td><font face=arial size=+2>";
constexpr std::string_view kFontEnd = "</font></table>";
constexpr std::string_view kBanner =
    "<table width=100% bgcolor=#FAAE47><tr> <td> <font face=arial size=+3>";
constexpr std::string_view kMeta =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">";
constexpr std::string_view kErrorLabel = "<font color=red face=arial size=+1 >Exception: </font>";
constexpr std::string_view kClosingBar =
    "<table width=100% height=20 bgcolor=#FAAE47><tr><td></table>";

// The pieces of one entry as one text, so that the entry reaches the file in one write:
// a log cut short by a crash or a kill ends after a whole entry, never inside one.
std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const std::string_view piece : pieces) size += piece.size();
    std::string text;
    text.reserve(size);
    for (const std::string_view piece : pieces) text += piece;
    return text;
}

}  // namespace

HtmlLog::HtmlLog(const std::string& fileName, std::string_view title, TimeSource now)
    : fileName(fileName),
      file(fileName, std::ios::out | std::ios::trunc),
      now(now ? std::move(now) : TimeSource([] { return std::time(nullptr); })) {
    WriteHeader(title);
}

HtmlLog::~HtmlLog() { Close(); }

void HtmlLog::Write(std::string_view text) {
    file << text;
    file.flush();
}

void HtmlLog::WriteHeader(std::string_view title) {
    const std::string started = "<h3>Loging started: " + TimeStamp() + "</h3></pre></table></font>";
    Write(Concat({"<html>\n<head>\n", kMeta, "\n</head>\n<body>\n<pre>\n", kBanner, "\n",
                  Escape(title), "\n", kFontEnd, "\n", kGreyBar, "\n", started, "\n"}));
}

void HtmlLog::WriteTitle(std::string_view text) {
    Write(Concat({kTitleBar, "\n", Escape(text), "\n", kFontEnd}));
}

void HtmlLog::WriteHeading(std::string_view text) {
    Write(Concat({kGreyBar, "<h3>", Escape(text), "</h3>", kBarEnd}));
}

void HtmlLog::WriteMessage(std::string_view text) {
    Write(Concat({kGreyBar, Escape(text), kBarEnd}));
}

void HtmlLog::WriteError(std::string_view text) { WriteError(Problem::Text(std::string(text))); }

void HtmlLog::WriteError(const Problem& problem) {
    Write(Concat({kRedBar, kErrorLabel, "\n", Escape(problem.text), kBarEnd}));
    if (problem.severity == Problem::Severity::Error) ++errorCount;
    if (errorListener) errorListener(problem);
}

void HtmlLog::Close() {
    if (closed) return;
    closed = true;
    Write(Concat({kClosingBar, "\n</pre>\n</body>\n</html>\n"}));
    file.close();
}

std::string HtmlLog::TimeStamp() const {
    const std::time_t t = now();
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) local = std::tm{};
    return FormatTimeStamp(local);
}

std::string HtmlLog::FormatTimeStamp(const std::tm& local) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* day = (local.tm_wday >= 0 && local.tm_wday < 7) ? kDays[local.tm_wday] : "???";
    const char* month = (local.tm_mon >= 0 && local.tm_mon < 12) ? kMonths[local.tm_mon] : "???";
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", day, month, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec, local.tm_year + 1900);
    return text;
}

std::string HtmlLog::Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}
