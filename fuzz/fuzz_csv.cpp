// libFuzzer target of the CSV and TSV reader. The input is the file; an even first byte
// names it .csv (Windows-1252 allowed), an odd one .dat (read as text only when it is
// UTF-8).
#include "FuzzSupport.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string csv = frusta::fuzz::scratchPath("fuzz_csv", ".csv");
    static const std::string dat = frusta::fuzz::scratchPath("fuzz_csv", ".dat");
    const std::string& path = size > 0 && (data[0] & 1) ? dat : csv;
    if (frusta::fuzz::writeFile(path, std::string_view(reinterpret_cast<const char*>(data), size)))
        frusta::fuzz::loadAndTouch(path);
    return 0;
}
