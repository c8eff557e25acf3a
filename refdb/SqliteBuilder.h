#pragma once
// Writes reference tables read from text into a new SQLite database. Column types are
// declared so that the SQLite provider reports the ADO types the Access providers report
// for the corresponding Access columns:
//   TEXT   VARCHAR(255) COLLATE NOCASE   adVarWChar (Access Text)
//   MEMO   MEMO COLLATE NOCASE           adLongVarWChar (Access Memo)
//   INT    SMALLINT                      adSmallInt (Access Integer)
//   LONG   INTEGER                       adInteger (Access Long Integer)
//   SINGLE SINGLE                        adSingle
//   DOUBLE DOUBLE                        adDouble
//   BOOL   BOOLEAN NOT NULL (0 or 1)     adBoolean (Access Yes/No)
//   DATE   DATETIME (ISO text)           adDate
// Texts compare without regard to case, as Jet compares them.
#include "refdb/ReferenceTsv.h"

#include <filesystem>
#include <vector>

namespace frusta {

// Creates (or replaces) the database file with the given tables; throws TsvError.
void buildSqliteDatabase(const std::filesystem::path& file, const std::vector<TsvTable>& tables);

} // namespace frusta
