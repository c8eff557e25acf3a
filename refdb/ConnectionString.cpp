#include "refdb/ConnectionString.h"

#include <algorithm>
#include <cctype>

namespace frusta {

namespace {

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Reads a quoted value starting at text[i] (the quote); leaves i after the closing quote.
std::string readQuoted(const std::string& text, std::size_t& i) {
    const char quote = text[i++];
    std::string value;
    while (i < text.size()) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                value += quote;
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        value += text[i++];
    }
    return value;
}

} // namespace

ConnectionString::ConnectionString(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto eq = text.find('=', i);
        if (eq == std::string::npos)
            break;
        const std::string key = lower(trim(text.substr(i, eq - i)));
        i = eq + 1;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        std::string value;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
            value = readQuoted(text, i);
            const auto semi = text.find(';', i);
            i = semi == std::string::npos ? text.size() : semi + 1;
        } else {
            const auto semi = text.find(';', i);
            const auto end = semi == std::string::npos ? text.size() : semi;
            value = trim(text.substr(i, end - i));
            i = semi == std::string::npos ? text.size() : semi + 1;
        }
        if (!key.empty() && !values_.count(key))
            values_[key] = value;
    }
}

std::string ConnectionString::get(const std::string& key) const {
    const auto it = values_.find(lower(trim(key)));
    return it == values_.end() ? std::string() : it->second;
}

bool ConnectionString::has(const std::string& key) const {
    return values_.count(lower(trim(key))) != 0;
}

std::string connectionStringValue(const std::string& value) {
    const bool plain = value.find_first_of(";\"'") == std::string::npos && trim(value) == value;
    if (plain)
        return value;
    const char quote = value.find('"') == std::string::npos ? '"' : '\'';
    std::string out(1, quote);
    for (char c : value) {
        out += c;
        if (c == quote)
            out += quote;
    }
    out += quote;
    return out;
}

} // namespace frusta
