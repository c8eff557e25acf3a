#pragma once
// Connection strings of the form "Provider=...;Data Source=PATH": keys without regard to
// case, values optionally in double or single quotes (a doubled quote stands for one).
#include <map>
#include <string>

namespace frusta {

class ConnectionString {
public:
    explicit ConnectionString(const std::string& text);

    // The value of a key ("" when absent); keys compare without regard to case and spaces
    // around them.
    std::string get(const std::string& key) const;
    bool has(const std::string& key) const;

    std::string provider() const { return get("Provider"); }
    std::string dataSource() const { return get("Data Source"); }

private:
    std::map<std::string, std::string> values_; // lower-case key -> value
};

// A value written so that the parser above reads it back unchanged: as it is when that is
// safe, else quoted.
std::string connectionStringValue(const std::string& value);

} // namespace frusta
