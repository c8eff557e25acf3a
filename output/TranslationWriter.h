#pragma once
// Adding a row to the user's taxon translation table: the table is read, the row added and
// the whole file written again in its own format (.csv, .xlsx or .xls), replacing the old
// file only once the new one is complete.
#include "app/Outcome.h"
#include "refdb/TranslationTable.h"

#include <string>

namespace frusta {

class UserPort;

// Adds `row` (its code, list code and note; its row number is ignored) to the table at
// `path`, which is made, with a header row, when it does not exist. Failed, after the
// message, when the file cannot be read or written, is of another format, or already maps
// the code.
Outcome addTranslationRow(const std::string& path, const TranslationRow& row, UserPort& port);

} // namespace frusta
