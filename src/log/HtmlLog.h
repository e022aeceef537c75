#pragma once

#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

#include "common/Problem.h"

// The diagnostics log: an HTML page that a browser shows as a title bar, headings, grey
// message bars and red error bars. Every entry goes to the file whole, in one write, as
// soon as it is written, so a log cut short by a crash or a kill holds every finished
// entry and no part of an unfinished one.
//
// The log never reports its own failures: if the file cannot be opened or written, the
// stream stays failed and every later write does nothing.
//
// Entry texts often come from scene files, so they are HTML-escaped (& < > ") before they
// reach the page; the log's own markup is written as it stands.
class HtmlLog {
public:
    // Source of the calendar time used for time stamps; tests pass a fixed one.
    using TimeSource = std::function<std::time_t()>;
    // Told every error entry as it is written, as the problem it reports (its text before
    // escaping, and its place when the writer knew it).
    using ErrorListener = std::function<void(const Problem& problem)>;

    // Creates or truncates `fileName` and writes the page header with `title`.
    HtmlLog(const std::string& fileName, std::string_view title, TimeSource now = {});
    // Writes the closing lines if Close() has not run yet.
    ~HtmlLog();

    HtmlLog(const HtmlLog&) = delete;
    HtmlLog& operator=(const HtmlLog&) = delete;

    void WriteTitle(std::string_view text);    // a major phase
    void WriteHeading(std::string_view text);  // a sub-section
    void WriteMessage(std::string_view text);  // a progress line
    void WriteError(std::string_view text);    // a failure, labelled "Exception: "
    void WriteError(const Problem& problem);   // the same, with the failure's place

    // Lets a program that runs the loader without a window (a checker, say) collect the
    // errors as they happen. One listener at a time; an empty one removes it.
    void SetErrorListener(ErrorListener listener) { errorListener = std::move(listener); }

    // Writes the closing lines and closes the file; later calls do nothing.
    void Close();

    // Whether everything so far reached the file: false once opening or a write failed,
    // so that the program that owns the log can say so where its user will see it.
    bool Writable() const { return file.good(); }

    // How many entries so far reported an error of their own (not the follow-ups that only
    // repeat that a section or the load failed).
    int ErrorCount() const { return errorCount; }

    const std::string& FileName() const { return fileName; }

    // The current local time in ctime's 24-character layout, without its line end.
    std::string TimeStamp() const;

    // ctime's layout for `local`: "Mon Dec  7 07:09:27 2026" (English names, day padded
    // with a space), independent of the process locale.
    static std::string FormatTimeStamp(const std::tm& local);

    // `text` with &, <, > and " replaced by their HTML character references.
    static std::string Escape(std::string_view text);

private:
    void Write(std::string_view text);
    void WriteHeader(std::string_view title);

    std::string fileName;
    std::ofstream file;
    TimeSource now;
    ErrorListener errorListener;
    bool closed = false;
    int errorCount = 0;
};
