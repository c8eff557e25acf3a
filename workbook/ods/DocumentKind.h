#pragma once
// The kinds of OpenDocument file, told apart by their media type.
#include <string>
#include <string_view>

namespace frusta::ods {

// Empty for a spreadsheet (or its template), else why the file is refused.
std::string refusalForMimetype(std::string_view mimetype);

} // namespace frusta::ods
