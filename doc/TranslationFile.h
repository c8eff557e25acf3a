#pragma once
// Reading the user's taxon translation table from a .csv, .xlsx, .xls or OpenDocument
// file: the first worksheet, one row per translation (your code, list code, an optional
// note), a first row whose first cell mentions "code" taken as the header, empty rows
// skipped. A table with a fault is refused, naming the row, before anything is analysed.
#include "app/Outcome.h"
#include "refdb/TranslationTable.h"

#include <memory>
#include <string>
#include <vector>

namespace frusta {

class UserPort;
class dbTable;

// The header row written at the top of a new table.
extern const char* const kTranslationHeader[3];

// The rows of the table file, or the reason it cannot be read.
struct TranslationRows {
    std::vector<TranslationRow> rows;
    bool hasHeader = false;
    std::string failure; // empty when read
};
TranslationRows readTranslationRows(const std::string& path);

// The table at `path`, read and checked against the master list; failed, after the user
// was told why, when it cannot be read or is refused.
Outcome loadTranslations(const std::string& path, const dbTable* master, UserPort& port,
                         std::shared_ptr<const TranslationTable>& table);

// Checks a table read earlier against the master list in use; failed, after the message,
// when it does not fit.
Outcome checkTranslations(const TranslationTable& table, const dbTable* master, UserPort& port);

} // namespace frusta
