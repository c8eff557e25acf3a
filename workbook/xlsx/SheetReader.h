#pragma once
// Streaming reader of one worksheet part: cells go into the sheet as the XML arrives.
#include <string>

namespace frusta {
class Book;
class Sheet;
} // namespace frusta

namespace frusta::xlsx {

class DateStyles;
class ReadBudget;
class ZipPackage;
struct SharedStrings;

struct SheetContext {
    Book& book;
    const SharedStrings& strings;
    const DateStyles* dateStyles; // set for 1904-system books: their date cells are moved
    ReadBudget& budget;
};

bool readWorksheet(ZipPackage& package, const std::string& partName, Sheet& sheet,
                   const SheetContext& context, std::string& error);

} // namespace frusta::xlsx
