#pragma once
// The results workbook writer, the document's save operation, and the question that leads
// to it when the results of a document would be lost.
#include "app/Outcome.h"

namespace frusta {

class CPbtDoc;

// Asks for a file name and writes the results workbook; done when the results were written
// (not when there were none, the user cancelled or the writing failed). A save clears the
// document's modified flag.
Outcome saveResultsWorkbook(CPbtDoc& doc);

// The save-modified question "Save Results?" of a modified document: Yes saves, No goes on
// without saving, Cancel stops. True when closing may go on, so that "Yes" closes only after
// a successful save.
bool saveModified(CPbtDoc& doc);

} // namespace frusta
