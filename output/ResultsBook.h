#pragma once
// The contents of a results workbook: "Job Summary", "Sample Summary", when the site
// uncertainty was computed the uncertainty sheet, then "Taxon matching" and "Run details".
#include <string>
#include <vector>

namespace frusta {

class Book;
class CPbtDoc;
struct ResultsTables;

// Fills an empty book with the results of an analysed document.
void buildResultsBook(const CPbtDoc& doc, const std::vector<std::string>& classNames, Book& book);
void buildResultsBook(const ResultsTables& tables, Book& book);

// The pieces of the job summary as written, one per row: split at CR LF, a final empty piece
// dropped, CR and LF removed, tabs made single spaces.
std::vector<std::string> summaryRows(const std::string& summary);

} // namespace frusta
