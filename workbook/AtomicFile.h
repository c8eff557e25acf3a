#pragma once
// Safe saving: the data is written to a temporary file in the target's folder, flushed to
// disk and renamed over the target, so that a failure never destroys an existing file.
#include <functional>
#include <string>

namespace frusta {

// Calls `write` with the path of a fresh temporary file beside `target`; on success renames
// it over `target`. On any failure the temporary file is removed, `target` is untouched and
// `error` says why.
bool writeAtomically(
    const std::string& target,
    const std::function<bool(const std::string& tempPath, std::string& error)>& write,
    std::string& error);

// A reason for an errno value, worded for a user ("permission denied", "the disk is full").
std::string describeErrno(int err);

} // namespace frusta
