// The sample workbook reader: the open operation of the analysis document.
#include "doc/SampleReader.h"

#include "app/CPbtApp.h"
#include "app/ShellTexts.h"
#include "app/UserPort.h"
#include "doc/CPbtDoc.h"
#include "doc/WorksheetProposal.h"
#include "engine/TextFormat.h"
#include "workbook/Book.h"
#include "workbook/FileFacts.h"
#include "workbook/csv/FieldValue.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <strings.h>

namespace frusta {

namespace {

constexpr const char* kErrorReadingFile = "Error reading file";

// "Error reading file" with the reader's reason; for a damaged workbook also what to do.
Notice readFailureNotice(const std::string& reason) {
    Notice notice(kErrorReadingFile, reason);
    if (const ReadFailureTexts why = readFailureTexts(reason); !why.details.empty())
        notice.advice = why.informative;
    return notice;
}

bool isXlsExtension(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    return strcasecmp(ext.c_str(), ".xls") == 0;
}

// A cell that ends the sample-name or taxon-code scan.
bool endsScan(const Sheet& sheet, int row, int col) {
    const CellType t = sheet.cellType(row, col);
    return t == CellType::Empty || t == CellType::Blank || t == CellType::Error;
}

// The text of a cell, empty when it holds no text.
std::string cellText(const Sheet& sheet, int row, int col) {
    const char* s = sheet.readStr(row, col);
    return s ? s : std::string();
}

// An information value: a number written with "%g", a text as it is, anything else empty.
std::string infoText(const Sheet& sheet, int row, int col) {
    switch (sheet.cellType(row, col)) {
    case CellType::Number:
        return formatG(sheet.readNum(row, col));
    case CellType::String:
        return cellText(sheet, row, col);
    default:
        return std::string();
    }
}

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// The keyword that the label of 1-based information row `row` must contain for `family`,
// with the message shown when it does not; nullptr when the row is not checked.
struct LabelRule {
    const char* keyword;
    const char* message;
};

const LabelRule* labelRule(int family, int row) {
    static const LabelRule alkalinity{
        "ALKALINITY", "Error: Alkalinity values must be in row 4 for TDI3 or TDI4 calculations."};
    static const LabelRule lakeType{
        "TYPE", "Error: Lake Type must be in row 4 for LTDI1 or LTDI2 calculations."};
    static const LabelRule calcium{"CALCIUM",
                                   "Error: Calcium values must be in row 5 for DAM calculations."};
    static const LabelRule doc{"DOC", "Error: DOC values must be in row 6 for DAM calculations."};
    if (row == 4 && family == kFamilyRivers)
        return &alkalinity;
    if (row == 4 && family == kFamilyLakes)
        return &lakeType;
    if (row == 5 && family == kFamilyAcid)
        return &calcium;
    if (row == 6 && family == kFamilyAcid)
        return &doc;
    return nullptr;
}

// The message for too few information rows for the family; nullptr when there are enough.
const char* infoRowShortage(int family, int infoRows) {
    if (family == kFamilyRivers && infoRows < 4)
        return "Insufficient data to calculate EQR.\nSampling date and alkalinity must be in rows "
               "3 and 4.";
    if (family == kFamilyLakes && infoRows < 4)
        return "Insufficient data to calculate EQR.\nSampling date and lake type must be in rows 3 "
               "and 4.";
    if (family == kFamilyAcid && infoRows < 6)
        return "Insufficient data to calculate EQR.\nSampling date, calcium and DOC values must be "
               "in "
               "rows 3, 5 and 6.";
    return nullptr;
}

// Reads one opened book into the document; every failure shows its message.
class SampleReader {
public:
    SampleReader(CPbtDoc& doc, const Book& book) : doc_(doc), port_(doc.port()), book_(book) {}

    Outcome read();

private:
    Outcome failWith(const std::string& message) { return fail(port_, {message}); }
    bool chooseWorksheet(WorksheetChoice& choice);
    Outcome checkLayout();
    Outcome readInfoRows();
    Outcome loadTables();
    Outcome readTaxaAndCounts();
    // Reads the taxa and their counts; the first cell that is neither a number nor empty
    // (1-based row and column), or nothing.
    struct CellPlace {
        int row;
        int col;
    };
    std::optional<CellPlace> fillCounts(LoadProgress& progress);
    void writeSummary();
    std::string ambiguousDates() const;

    CPbtDoc& doc_;
    UserPort& port_;
    const Book& book_;
    const Sheet* sheet_ = nullptr; // the chosen worksheet
    std::string sheetName_;
    int firstRow_ = 1; // FR, 1-based
    int firstCol_ = 3; // FC, 1-based
};

bool SampleReader::chooseWorksheet(WorksheetChoice& choice) {
    const Book& book = book_;
    WorksheetRequest request;
    for (int i = 0; i < book.sheetCount(); ++i)
        request.sheetNames.push_back(book.getSheet(i)->name());
    request.book = &book;
    request.family = doc_.m_nFamily;
    auto answer = port_.chooseWorksheet(request);
    if (!answer)
        return false;
    choice = *answer;
    choice.sheetIndex = std::clamp(choice.sheetIndex, 0, book.sheetCount() - 1);
    choice.family = std::clamp(choice.family, 0, 2);
    choice.firstRow = std::max(choice.firstRow, 1);
    choice.firstCol = std::max(choice.firstCol, 1);
    sheetName_ = request.sheetNames[choice.sheetIndex];
    doc_.m_strSheetName = sheetName_;
    return true;
}

Outcome SampleReader::checkLayout() {
    const Sheet& sheet = *sheet_;
    if (sheet.lastRow() < 2 || sheet.lastCol() < 2)
        return failWith("Worksheet has no data, try again");

    int col = firstCol_ - 1;
    while (col < sheet.lastCol() && !endsScan(sheet, 0, col))
        ++col;
    const int samples = col - (firstCol_ - 1);
    if (samples <= 0)
        return failWith("No entries found in Sample Name row");

    int row = firstRow_ - 1;
    while (row < sheet.lastRow() && !endsScan(sheet, row, 0))
        ++row;
    const int taxa = row - (firstRow_ - 1);
    if (taxa <= 0)
        return failWith("No entries found in Taxon Code column");

    if (taxa > dMat::kMaxCols)
        return failWith(
            formatText("The worksheet has %d taxa; at most %d taxa can be assessed at once.\n"
                       "Split the taxa over several worksheets and try again.",
                       taxa, dMat::kMaxCols));
    if (samples > dMat::kMaxRows)
        return failWith(
            formatText("The worksheet has %d samples; at most %d samples can be assessed at "
                       "once.\nSplit the samples over several worksheets and try again.",
                       samples, dMat::kMaxRows));
    doc_.m_nTaxa = taxa;
    doc_.m_nSamples = samples;
    doc_.m_nInfoRows = firstRow_ - 1;
    if (const char* shortage = infoRowShortage(doc_.m_nFamily, doc_.m_nInfoRows))
        return failWith(shortage);
    return Outcome::done();
}

Outcome SampleReader::readInfoRows() {
    const Sheet& sheet = *sheet_;
    doc_.m_infoLabels.clear();
    doc_.m_infoValues.clear();
    for (int row = 1; row <= doc_.m_nInfoRows; ++row) {
        std::string label = cellText(sheet, row - 1, 0);
        if (const LabelRule* rule = labelRule(doc_.m_nFamily, row))
            if (upper(label).find(rule->keyword) == std::string::npos)
                return failWith(rule->message);
        doc_.m_infoLabels.push_back(std::move(label));
        std::vector<std::string> values;
        values.reserve(static_cast<std::size_t>(doc_.m_nSamples));
        for (int s = 0; s < doc_.m_nSamples; ++s)
            values.push_back(infoText(sheet, row - 1, firstCol_ - 1 + s));
        doc_.m_infoValues.push_back(std::move(values));
    }
    return Outcome::done();
}

Outcome SampleReader::loadTables() {
    CPbtApp& app = doc_.app();
    if (const Outcome loaded = app.LoadBoundaries(doc_.m_strMetric, port_); !loaded)
        return fail(port_, {"Error retrieving boundary data", app.lastLoadFailure}, loaded);
    doc_.m_boundaryTable = app.boundaryTable;
    if (doc_.m_nFamily == kFamilyAcid) {
        doc_.m_bDoUncertainty = false;
        return Outcome::done();
    }
    if (app.LoadCocCoefficients(cocKey(doc_.m_nFamily))) {
        doc_.m_cocTable = app.cocTable;
    } else {
        port_.notify({"Error retrieving confidence of class data, uncertainty estimates will not "
                      "be calculated.",
                      app.lastLoadFailure});
        doc_.m_bDoUncertainty = false;
    }
    return Outcome::done();
}

Outcome SampleReader::readTaxaAndCounts() {
    std::optional<CellPlace> bad;
    // A large worksheet takes a while: it is read where the front end runs long work.
    if (!port_.runCancellable("Reading the counts of " + doc_.GetTitle(),
                              [&](LoadProgress& progress) { bad = fillCounts(progress); }))
        return Outcome::failed(); // the user stopped it: nothing to report
    if (bad)
        return failWith(
            formatText("Error: indeterminate data in row %d, col %d", bad->row, bad->col));
    return Outcome::done();
}

std::optional<SampleReader::CellPlace> SampleReader::fillCounts(LoadProgress& progress) {
    const Sheet& sheet = *sheet_;
    doc_.m_pCounts = std::make_unique<dMat>(doc_.m_nSamples, doc_.m_nTaxa, 0.0, false);
    dMat& counts = *doc_.m_pCounts;
    doc_.m_taxa.clear();
    doc_.m_taxa.reserve(static_cast<std::size_t>(doc_.m_nTaxa));
    for (int t = 0; t < doc_.m_nTaxa && !progress.cancelled(); ++t) {
        progress.report(static_cast<std::uint64_t>(t), static_cast<std::uint64_t>(doc_.m_nTaxa));
        const int row = firstRow_ - 1 + t;
        TaxonEntry entry;
        switch (sheet.cellType(row, 0)) {
        case CellType::String:
            entry.code = cellText(sheet, row, 0);
            break;
        case CellType::Boolean:
            entry.code = formatG(sheet.readBool(row, 0) ? 1.0 : 0.0);
            break;
        default:
            entry.code = formatG(sheet.readNum(row, 0));
        }
        entry.name = cellText(sheet, row, 1);
        if (firstCol_ >= 4)
            entry.third = cellText(sheet, row, 2);
        doc_.m_taxa.push_back(std::move(entry));
        for (int s = 0; s < doc_.m_nSamples; ++s) {
            const int col = firstCol_ - 1 + s;
            const Cell* cell = sheet.cell(row, col);
            switch (cell ? static_cast<CellType>(cell->type) : CellType::Empty) {
            case CellType::Number:
                counts(s, t) = cell->number;
                break;
            case CellType::Empty:
            case CellType::Blank:
                break;
            default:
                return CellPlace{row + 1, col + 1};
            }
        }
    }
    return std::nullopt;
}

// A CSV file keeps dates such as 30/01/2009 as texts, which the analysis takes for missing
// dates: the warning about the sampling dates so written, or nothing.
std::string SampleReader::ambiguousDates() const {
    constexpr int kDateRow = 2; // 0-based
    if (book_.fileFormat() != FileFormat::Csv || doc_.m_nInfoRows <= kDateRow)
        return {};
    int count = 0;
    int firstCol = 0;
    std::string example;
    for (int s = 0; s < doc_.m_nSamples; ++s) {
        const int col = firstCol_ - 1 + s;
        const char* text = sheet_->readStr(kDateRow, col);
        if (!text || !csv::isAmbiguousDate(text))
            continue;
        if (count++ == 0) {
            firstCol = col;
            example = text;
        }
    }
    if (count == 0)
        return {};
    const std::string where = "(row 3, column " + columnLetters(firstCol + 1) + ")";
    const std::string advice =
        "\nWrite dates in CSV files as year-month-day, for example 2009-01-30.";
    if (count == 1)
        return "The sampling date of 1 sample is written as " + example + " " + where +
               ", which may be day/month or month/day; it is read as a missing date." + advice;
    return formatText("The sampling dates of %d samples are written as ", count) + example + " " +
           where +
           " and the like, which may be day/month or month/day; they are read as missing dates." +
           advice;
}

void SampleReader::writeSummary() {
    std::string& s = doc_.m_strSummary;
    s = "File:\t" + doc_.GetTitle();
    s += "\r\nWorksheet:\t" + sheetName_;
    s += "\r\n\r\nMetric:\t" + doc_.m_strMetric;
    s += formatText("\r\n\r\nNumber of taxa:\t%d\r\nNumber of samples:\t%d", doc_.m_nTaxa,
                    doc_.m_nSamples);
    if (!doc_.m_bDoUncertainty)
        s += formatText("\r\n\r\nConfidence of class parameters not found for %s, uncertainty "
                        "estimates will not be calculated.",
                        doc_.m_strMetric.c_str());
}

Outcome SampleReader::read() {
    const Book& book = book_;
    if (book.sheetCount() == 0)
        return failWith("No sheets");
    WorksheetChoice choice;
    if (!chooseWorksheet(choice))
        return Outcome::failed();
    doc_.m_nFamily = choice.family;
    doc_.m_bLatest = choice.latest;
    firstRow_ = choice.firstRow;
    firstCol_ = choice.firstCol;
    doc_.m_nFirstRow = firstRow_;
    doc_.m_nFirstCol = firstCol_;
    doc_.m_nMetric = metricCodeFor(doc_.m_nFamily, doc_.m_bLatest);
    doc_.m_strMetric = metricName(doc_.m_nMetric);

    for (int i = 0; i < book.sheetCount() && !sheet_; ++i)
        if (book.getSheet(i)->name() == sheetName_)
            sheet_ = book.getSheet(i);
    // A sheet that the workbook lists but whose data is missing is refused on its own.
    if (sheet_ && !sheet_->unreadable().empty())
        return failWith("Worksheet \"" + sheetName_ + "\" cannot be read: " + sheet_->unreadable());
    if (Outcome o = checkLayout(); !o)
        return o;
    if (Outcome o = readInfoRows(); !o)
        return o;
    if (Outcome o = loadTables(); !o)
        return o;
    const Outcome countsRead = readTaxaAndCounts();
    const std::string dateWarning = ambiguousDates();
    writeSummary();
    // Told once the workbook is read, before any analysis.
    if (countsRead && !dateWarning.empty())
        port_.message(dateWarning, Buttons::Ok);
    return countsRead;
}

} // namespace

Outcome readSampleWorkbook(CPbtDoc& doc, const Book& book) {
    return SampleReader(doc, book).read();
}

Outcome CPbtDoc::OnOpenDocument(const std::string& path) {
    // The book lives only while the reader runs.
    const std::unique_ptr<Book> book =
        isXlsExtension(path) ? Book::createBinary() : Book::createXml();
    if (!book)
        return fail(m_port, {kErrorReadingFile});
    // The loading itself asks nothing, so the front end may run it on another thread.
    bool loaded = false;
    const std::string name = std::filesystem::path(path).filename().string();
    if (!m_port.runCancellable("Reading " + name, [&](LoadProgress& progress) {
            loaded = book->load(path, &progress);
            if (loaded)
                m_inputSha256 = fileSha256(path).value_or(std::string());
        }))
        return Outcome::failed(); // the user stopped it: nothing to report
    if (!loaded)
        return fail(m_port, readFailureNotice(book->errorMessage()));
    SetTitle(name);
    m_strPath = path;
    return readSampleWorkbook(*this, *book);
}

} // namespace frusta
