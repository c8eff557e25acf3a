#pragma once
// What became of a user command such as opening a workbook, analysing or saving: done, or
// failed with the notices that told the user why (none when the user cancelled or there was
// nothing to do). Failures are shown where they arise; the outcome only reports them.
#include "app/UserPort.h"

#include <vector>

namespace frusta {

class Outcome {
public:
    static Outcome done() { return Outcome(true); }
    // Failed without a word to the user.
    static Outcome failed() { return Outcome(false); }
    // Failed; the user was shown the notices of `cause` and then `shown`.
    static Outcome failed(Notice shown, const Outcome& cause = failed());

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    // The notices shown about a failure, in the order shown.
    const std::vector<Notice>& notices() const { return notices_; }

private:
    explicit Outcome(bool ok) : ok_(ok) {}

    bool ok_;
    std::vector<Notice> notices_;
};

// Shows `notice` through the port and returns the failure it reports.
Outcome fail(UserPort& port, Notice notice, const Outcome& cause = Outcome::failed());

} // namespace frusta
