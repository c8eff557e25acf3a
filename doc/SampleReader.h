#pragma once
// The sample workbook reader: the open operation of the analysis document (OnOpenDocument),
// which loads the workbook and then reads it with readSampleWorkbook.
#include "app/Outcome.h"

namespace frusta {

class Book;
class CPbtDoc;

// Reads an opened book into the document, from the sheet count on: the worksheet dialog, the
// layout checks, the class boundaries and coefficients, the information rows, the taxa and
// counts and the first lines of the job summary. Every failure shows its message.
Outcome readSampleWorkbook(CPbtDoc& doc, const Book& book);

} // namespace frusta
