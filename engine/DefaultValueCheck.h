#pragma once
// The check of one edited default value, as the defaults dialog makes it on OK: a number
// (blanks around it allowed) within inclusive bounds.
#include <optional>
#include <string>

namespace frusta {

struct DefaultValueCheck {
    std::optional<double> value; // the number, when the text passed
    std::string message;         // otherwise: "Please enter a number." or the range prompt
};

DefaultValueCheck checkDefaultValue(const std::string& text, double lo, double hi);

} // namespace frusta
