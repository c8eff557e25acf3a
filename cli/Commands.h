#pragma once
// The sub-commands of frusta2-cli. Each returns the process exit status:
// 0 success, 1 the work failed, 2 bad usage.
#include <iosfwd>
#include <string>
#include <vector>

namespace frusta::cli {

using Args = std::vector<std::string>;

int sheetsCommand(const Args& args, std::ostream& out, std::ostream& err);
int dumpCommand(const Args& args, std::ostream& out, std::ostream& err);
int assessCommand(const Args& args, std::ostream& out, std::ostream& err);

// Opens a workbook as the program does: the binary format for a ".xls" extension (any
// case), the XML format otherwise.
std::string bookKindFor(const std::string& path);

} // namespace frusta::cli
