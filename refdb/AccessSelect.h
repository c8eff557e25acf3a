#pragma once
// The statements the Access provider answers on top of libmdb, which reads whole tables
// only: a bare table name, and
//   Select * from T [where Col = value [and Col = value ...]] [order by Col [asc|desc], ...]
// with keywords in any case, names optionally in [brackets], values as 'text' (a doubled
// quote inside stands for one), "text", numbers, True or False. Texts compare without
// regard to case, as Jet compares them; Nulls sort first.
#include "refdb/RowSet.h"

#include <optional>
#include <string>
#include <vector>

namespace frusta {

struct SelectCondition {
    std::string column;
    Variant value; // Bstr for a text, R8 for a number or a truth value
};

struct SortKey {
    std::string column;
    bool descending = false;
};

struct SelectStatement {
    std::string table;
    std::vector<SelectCondition> where;
    std::vector<SortKey> orderBy;
};

// The table name when the text is nothing but one ("Name" or "[Any name]").
std::optional<std::string> bareTableName(const std::string& text);

// Parses a statement; throws ComError (0x80040E14) naming `source` when the text is not
// one of the statements above.
SelectStatement parseSelect(const std::string& text, const std::string& source);

// Keeps the rows that meet every condition and sorts them stably by the sort keys. Throws
// ComError for a field the table does not have (0x80040E10) or a value whose type does not
// match its field (0x80040E07).
void applySelect(const SelectStatement& statement, RowSet& rows, const std::string& source);

} // namespace frusta
