// libFuzzer target of the CSV and TSV reader. The input is the file; an even first byte
// names it .csv (Windows-1252 allowed), an odd one .dat (read as text only when it is
// UTF-8).
#include "workbook/Book.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string scratchPath(const char* extension) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/fuzz_csv." + std::to_string(getpid()) + extension;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string csv = scratchPath(".csv");
    static const std::string dat = scratchPath(".dat");
    const std::string& path = size > 0 && (data[0] & 1) ? dat : csv;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    const bool written = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written)
        return 0;
    auto book = frusta::Book::createXml();
    if (book->load(path)) {
        for (int i = 0; i < book->sheetCount(); ++i) {
            const frusta::Sheet* sheet = book->getSheet(i);
            for (int r = 0; r < sheet->lastRow() && r < 64; ++r)
                for (int c = 0; c < sheet->lastCol() && c < 64; ++c)
                    if (const char* s = sheet->readStr(r, c))
                        (void)std::string_view(s).size();
        }
    } else if (std::string_view(book->errorMessage()).empty() ||
               std::string_view(book->errorMessage()) == "ok") {
        __builtin_trap(); // a failed load must say why
    }
    std::remove(path.c_str());
    return 0;
}
