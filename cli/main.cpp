// frusta2-cli: the command-line front end.
#include "app/Version.h"

#include <cstring>
#include <iostream>
#include <string>

namespace {

const char* const kUsage =
    "Usage: frusta2-cli [--help] [--version]\n"
    "\n"
    "Assesses the ecological status of rivers and lakes from counts of benthic diatoms.\n"
    "\n"
    "Options:\n"
    "  --help      show this help and exit\n"
    "  --version   show the program's version and exit\n";

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::cout << kUsage;
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "frusta2-cli " << FRUSTA_VERSION << "\n";
        return 0;
    }
    std::cerr << "frusta2-cli: unknown command '" << argv[1] << "'\n" << kUsage;
    return 2;
}
