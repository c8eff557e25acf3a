#pragma once
// One line of progress on a terminal's standard error ("workbook 2 of 40: A.xlsx: reading,
// 3 s"), redrawn in place. It shows only when standard error is a terminal and the run has
// taken longer than a second, so that pipes, log files and CI never see it. Messages are
// printed through it so that they never mix with the line.
#include <chrono>
#include <condition_variable>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>

namespace frusta::cli {

class ProgressLine {
public:
    // Shown only when `enabled`; usually ProgressLine(stderrIsTerminal(), std::cerr).
    ProgressLine(bool enabled, std::ostream& err);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // What is being done now.
    void set(std::string text);
    // A line on standard error, or on `to`, below which the progress line is drawn again.
    void print(const std::string& line);
    void print(std::ostream& to, const std::string& line);

    static bool stderrIsTerminal();

private:
    void tick(std::stop_token stop);
    void drawLocked();
    void clearLocked();

    std::ostream& err_;
    const bool enabled_;
    const std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::string text_;
    bool drawn_ = false;
    std::jthread ticker_; // last: it starts after everything it uses
};

} // namespace frusta::cli
