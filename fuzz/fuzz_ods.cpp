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

std::vector<std::string> splitParts(std::string_view data) {
    static constexpr std::string_view kSeparator = "\n----\n";
    std::vector<std::string> parts;
    while (parts.size() < 2) {
        const auto at = data.find(kSeparator);
        if (at == std::string_view::npos)
            break;
        parts.emplace_back(data.substr(0, at));
        data.remove_prefix(at + kSeparator.size());
    }
    parts.emplace_back(data);
    parts.resize(3);
    return parts;
}

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
                                                    : writePackage(splitParts(input), path);
    if (written)
        loadAndTouch(path);
    return 0;
}
