#pragma once
// What the workbook readers' fuzz targets share: a scratch file per process, and loading a
// file as the program does, touching every cell it reads.
#include "workbook/Book.h"

#include <zip.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

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

// The input split at "\n----\n" into `count` parts; missing parts are empty.
inline std::vector<std::string> splitParts(std::string_view data, std::size_t count) {
    static constexpr std::string_view kSeparator = "\n----\n";
    std::vector<std::string> parts;
    while (parts.size() + 1 < count) {
        const auto at = data.find(kSeparator);
        if (at == std::string_view::npos)
            break;
        parts.emplace_back(data.substr(0, at));
        data.remove_prefix(at + kSeparator.size());
    }
    parts.emplace_back(data);
    parts.resize(count);
    return parts;
}

// Writes a zip package of the given files (name, content), stored without compression so
// that the readers get past the checksums; a file whose content is "-" is left out.
inline bool writeStoredZip(const std::string& path,
                           const std::vector<std::pair<std::string, std::string>>& files) {
    int err = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!archive)
        return false;
    for (const auto& [name, content] : files) {
        if (content == "-")
            continue;
        zip_source_t* src = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = src ? zip_file_add(archive, name.c_str(), src, 0) : -1;
        if (index < 0) {
            zip_source_free(src);
            zip_discard(archive);
            return false;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    return zip_close(archive) == 0;
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
    } else if (std::string_view(book->errorMessage()).empty()) {
        __builtin_trap();
    }
    std::remove(path.c_str());
}

} // namespace frusta::fuzz
