#pragma once
// OpenDocument spreadsheets: .ods packages (zip files with content.xml) and flat .fods
// files (the same XML in one file).
#include <string>

namespace frusta {
class Book;
namespace ods {

// Whether the zip file at `path` is an OpenDocument package rather than an Office Open XML
// one.
bool isPackage(const std::string& path);
// Whether the first bytes of a file are those of a flat OpenDocument file.
bool isFlatDocument(const std::string& head);

// Read the workbook at `path` into `book` (which is empty); false with a reason on failure.
bool load(const std::string& path, Book& book, std::string& error);
bool loadFlat(const std::string& path, Book& book, std::string& error);

} // namespace ods
} // namespace frusta
