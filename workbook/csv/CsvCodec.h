#pragma once
// CSV and TSV files: one worksheet, named after the file, of the file's fields. UTF-8 with or
// without a byte-order mark; a file that is not UTF-8 is read as Windows-1252 where that is
// allowed (and the book notes it). The delimiter is found from the first lines.
#include <string>
#include <string_view>

namespace frusta {
class Book;
namespace csv {

// Whether the file's name ends in .csv, .tsv or .txt (any case).
bool isTextExtension(const std::string& path);
// Whether the first bytes of a file are UTF-8 text; `whole` when they are the whole file.
bool looksLikeText(std::string_view head, bool whole);

// Reads the file at `path` into `book` (which is empty); false with a reason on failure.
// Without `anyEncoding` a file that is not UTF-8 is refused.
bool load(const std::string& path, Book& book, bool anyEncoding, std::string& error);

} // namespace csv
} // namespace frusta
