// frusta2-cli: the command-line front end.
#include "app/Version.h"
#include "cli/Commands.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: frusta2-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Assesses the ecological status of rivers and lakes from counts of benthic diatoms.\n"
    "A WORKBOOK is an Excel workbook (.xls, .xlsx), an OpenDocument spreadsheet (.ods, .fods)\n"
    "or a CSV or TSV file (.csv, .tsv, .txt: one worksheet, named after the file; dates\n"
    "written as 2009-01-30).\n"
    "\n"
    "Commands:\n"
    "  assess WORKBOOK... [options]    assess sample workbooks (assess --help for options)\n"
    "  sheets WORKBOOK                 list the worksheets of a workbook\n"
    "  dump WORKBOOK [--sheet NAME]    print every non-empty cell as\n"
    "                                  row<TAB>col<TAB>type<TAB>value (0-based)\n"
    "  --help                          show this help\n"
    "  --version                       show the program's version\n";

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version") {
        std::cout << "frusta2-cli " << FRUSTA_VERSION << "\n";
        return 0;
    }
    if (command == "assess")
        return frusta::cli::assessCommand(args, std::cout, std::cerr);
    if (command == "sheets")
        return frusta::cli::sheetsCommand(args, std::cout, std::cerr);
    if (command == "dump")
        return frusta::cli::dumpCommand(args, std::cout, std::cerr);
    std::cerr << "frusta2-cli: unknown command '" << command << "'\n\n" << kUsage;
    return 2;
}
