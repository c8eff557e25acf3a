#include "cli/ProgressLine.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <ostream>

namespace frusta::cli {

namespace {

constexpr auto kShowAfter = std::chrono::seconds(1);
constexpr auto kRedrawEvery = std::chrono::milliseconds(250);

// The terminal's width, so that the line never wraps (a wrapped line cannot be redrawn).
std::size_t terminalWidth() {
    winsize ws{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 1)
        return ws.ws_col;
    return 80;
}

} // namespace

bool ProgressLine::stderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

ProgressLine::ProgressLine(bool enabled, std::ostream& err)
    : err_(err), enabled_(enabled), start_(std::chrono::steady_clock::now()) {
    if (enabled_)
        ticker_ = std::jthread([this](std::stop_token stop) { tick(stop); });
}

ProgressLine::~ProgressLine() {
    if (ticker_.joinable()) {
        ticker_.request_stop();
        ticker_.join();
    }
    std::lock_guard lock(mutex_);
    clearLocked();
}

void ProgressLine::set(std::string text) {
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
    if (drawn_)
        drawLocked();
}

void ProgressLine::print(const std::string& line) {
    print(err_, line);
}

void ProgressLine::print(std::ostream& to, const std::string& line) {
    std::lock_guard lock(mutex_);
    clearLocked();
    to << line << '\n';
    to.flush();
}

void ProgressLine::tick(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        wake_.wait_for(lock, stop, kRedrawEvery, [] { return false; });
        if (!stop.stop_requested() && std::chrono::steady_clock::now() - start_ >= kShowAfter)
            drawLocked();
    }
}

void ProgressLine::drawLocked() {
    if (!enabled_ || text_.empty())
        return;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_)
            .count();
    std::string line = text_ + ", " + std::to_string(seconds) + " s";
    const std::size_t width = terminalWidth() - 1;
    if (line.size() > width)
        line.resize(width);
    err_ << "\r\033[K" << line;
    err_.flush();
    drawn_ = true;
}

void ProgressLine::clearLocked() {
    if (!drawn_)
        return;
    err_ << "\r\033[K";
    err_.flush();
    drawn_ = false;
}

} // namespace frusta::cli
