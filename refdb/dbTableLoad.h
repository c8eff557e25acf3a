#pragma once
// Builds a dbTable from an open result set: every record, every field by its position,
// each column stored by the type its ADO data type selects.
#include "refdb/dbTable.h"

#include <memory>

namespace frusta {

class CADORecordset;

// Reads every record of the open result set (left after its last record). A result set
// without records or without fields gives an empty table (no rows, no columns).
std::shared_ptr<dbTable> loadDbTable(CADORecordset& recordset);

} // namespace frusta
