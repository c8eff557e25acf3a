// libFuzzer target of the OpenDocument reader. An input that starts with "PK" is loaded as a
// whole .ods file, and one that starts with "F" as a flat .fods file (without the "F"); any
// other input is split at "\n----\n" into content.xml, the manifest and the mimetype and
// wrapped into a valid package, so that the XML readers are reached without first getting
// past the zip checksums. A manifest left empty lists no encryption, a mimetype left empty
// says "spreadsheet", and one of "-" is left out.
#include "FuzzSupport.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool writePackage(const std::vector<std::string>& parts, const std::string& path) {
    std::vector<std::pair<std::string, std::string>> files = {
        {"mimetype",
         parts[2].empty() ? "application/vnd.oasis.opendocument.spreadsheet" : parts[2]},
        {"content.xml", parts[0]},
        {"META-INF/manifest.xml",
         parts[1].empty() ? "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:"
                            "xmlns:manifest:1.0\"/>"
                          : parts[1]},
    };
    return frusta::fuzz::writeStoredZip(path, files);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace frusta::fuzz;
    static const std::string package = scratchPath("fuzz_ods", ".ods");
    static const std::string flat = scratchPath("fuzz_ods", ".fods");
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool isFlat = input.substr(0, 1) == "F";
    const std::string& path = isFlat ? flat : package;
    const bool written = input.substr(0, 2) == "PK" ? writeFile(path, input)
                         : isFlat                   ? writeFile(path, input.substr(1))
                                                    : writePackage(splitParts(input, 3), path);
    if (written)
        loadAndTouch(path);
    return 0;
}
