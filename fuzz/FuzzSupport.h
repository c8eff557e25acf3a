#pragma once
// What the workbook readers' fuzz targets share: a scratch file per process, and loading a
// file as the program does, touching every cell it reads.
#include "workbook/Book.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace frusta::fuzz {

// A file of this process in /dev/shm (or /tmp): "/dev/shm/fuzz_ods.1234.fods".
inline std::string scratchPath(const char* target, const char* extension) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/" + target + "." + std::to_string(getpid()) + extension;
}

inline bool writeFile(const std::string& path, std::string_view data) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

// Loads the file into a book and reads its first cells; a load that fails must say why.
inline void loadAndTouch(const std::string& path) {
    auto book = Book::createXml();
    if (book->load(path)) {
        for (int i = 0; i < book->sheetCount(); ++i) {
            const Sheet* sheet = book->getSheet(i);
            for (int r = 0; r < sheet->lastRow() && r < 64; ++r)
                for (int c = 0; c < sheet->lastCol() && c < 64; ++c)
                    if (const char* s = sheet->readStr(r, c))
                        (void)std::string_view(s).size();
        }
    } else if (std::string_view(book->errorMessage()).empty() ||
               std::string_view(book->errorMessage()) == "ok") {
        __builtin_trap();
    }
    std::remove(path.c_str());
}

} // namespace frusta::fuzz
