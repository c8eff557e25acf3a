#pragma once
// Runs a user command against the core and turns an escaping matrix error or allocation
// failure into a message to the user, so that the application carries on unchanged.
#include "app/Outcome.h"

#include <functional>
#include <string>

namespace frusta {

class UserPort;

// The message shown when a command failed on a matrix error; `detail` is the error text.
std::string commandFailureMessage(const std::string& detail);

// Returns the command's outcome, or the failure shown when it threw a matrix error or ran
// out of memory.
Outcome runGuarded(UserPort& port, const std::function<Outcome()>& command);

} // namespace frusta
