// Reading of .xlsx workbooks: the package relationships lead from the package to the
// workbook part (or, when they are missing or damaged, the content types or the usual
// place do), and from it to the sheets, the shared strings and the styles. A sheet whose
// part is missing is listed, and refused only when it is chosen.
#include "workbook/Book.h"
#include "workbook/xlsx/ContentTypes.h"
#include "workbook/xlsx/Relationships.h"
#include "workbook/xlsx/SharedStrings.h"
#include "workbook/xlsx/SheetReader.h"
#include "workbook/xlsx/Styles.h"
#include "workbook/xlsx/WorkbookPart.h"
#include "workbook/xlsx/XlsxCodec.h"
#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/ZipPackage.h"

#include <memory>

namespace frusta::xlsx {

namespace {

constexpr const char* kDefaultWorkbookPart = "xl/workbook.xml";

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// A reason to refuse a package whose main part is some other kind of document.
std::string refusalForContentType(const std::string& type) {
    if (startsWith(type, "application/vnd.openxmlformats-officedocument.wordprocessingml"))
        return "the file is a Word document, not a workbook";
    if (startsWith(type, "application/vnd.openxmlformats-officedocument.presentationml"))
        return "the file is a PowerPoint presentation, not a workbook";
    if (startsWith(type, "application/vnd.ms-excel.sheet.binary"))
        return "Excel binary workbooks (.xlsb) are not supported; save the workbook as .xlsx";
    return {};
}

// Finds the workbook part through the package relationships. When they are missing, damaged
// or lead to no part, the workbook part is the one that the content types declare, or the
// one at the usual place.
bool findWorkbookPart(ZipPackage& package, const ContentTypes& types, std::string& part,
                      std::string& error) {
    Relationships rels;
    bool found = false;
    std::string relsError;
    const Relationship* main = nullptr;
    if (rels.read(package, "", found, relsError)) {
        main = rels.firstOfKind("officeDocument");
        if (main && package.contains(main->target)) {
            part = main->target;
            return true;
        }
    }
    for (const std::string& candidate : {types.workbookPart(), std::string(kDefaultWorkbookPart)})
        if (!candidate.empty() && package.contains(candidate)) {
            part = candidate;
            return true;
        }
    if (!relsError.empty())
        error = relsError;
    else if (main)
        error = "the workbook part '" + main->target + "' is missing";
    else
        error = "the zip file is not an Excel workbook (it has no workbook part)";
    return false;
}

bool isWorksheetKind(std::string_view kind) {
    return kind == "worksheet";
}

// Sheets of other kinds are left out of the book: charts, dialogs and macro sheets.
bool isOtherSheetKind(std::string_view kind) {
    return kind == "chartsheet" || kind == "dialogsheet" || kind == "xlMacrosheet" ||
           kind == "xlIntlMacrosheet";
}

class Loader {
public:
    Loader(Book& book, std::string& error) : book_(book), error_(error) {}

    bool run(const std::string& path) {
        if (!package_.open(path, error_))
            return false;
        package_.followProgress(book_.loadProgress());
        ContentTypes types;
        std::string workbookPart;
        if (!types.read(package_, error_) ||
            !findWorkbookPart(package_, types, workbookPart, error_))
            return false;
        if (std::string why = refusalForContentType(types.typeOf(workbookPart)); !why.empty()) {
            error_ = why;
            return false;
        }
        WorkbookInfo info;
        if (!readWorkbookPart(package_, workbookPart, info, error_))
            return false;
        bool found = false;
        if (!rels_.read(package_, workbookPart, found, error_))
            return false;
        if (!found && !info.sheets.empty()) {
            error_ = "the part '" + relationshipsPartOf(workbookPart) +
                     "' that locates the sheets is missing";
            return false;
        }
        return readSharedStrings() && readStyles(info.date1904) && readSheets(info);
    }

private:
    bool readSharedStrings() {
        const Relationship* rel = rels_.firstOfKind("sharedStrings");
        return !rel ||
               xlsx::readSharedStrings(package_, rel->target, book_, budget_, strings_, error_);
    }

    bool readStyles(bool date1904) {
        if (!date1904)
            return true;
        dateStyles_ = std::make_unique<DateStyles>();
        const Relationship* rel = rels_.firstOfKind("styles");
        return !rel || dateStyles_->read(package_, rel->target, error_);
    }

    bool readSheets(const WorkbookInfo& info) {
        const SheetContext context{book_, strings_, dateStyles_.get(), budget_};
        for (const SheetEntry& entry : info.sheets) {
            const Relationship* rel = rels_.byId(entry.relationshipId);
            if (!rel || rel->external) {
                // Listed, but not to be found: the sheet is refused when it is chosen.
                book_.addSheet(entry.name)
                    ->setUnreadable("the part of sheet '" + entry.name + "' is not in the package");
                continue;
            }
            const std::string_view kind = relationshipKind(rel->type);
            if (isOtherSheetKind(kind))
                continue;
            if (!isWorksheetKind(kind)) {
                error_ =
                    "sheet '" + entry.name + "' is of an unknown kind (" + std::string(kind) + ")";
                return false;
            }
            Sheet* sheet = book_.addSheet(entry.name);
            if (!package_.contains(rel->target)) {
                sheet->setUnreadable("the part '" + rel->target + "' of sheet '" + entry.name +
                                     "' is missing");
                continue;
            }
            if (!readWorksheet(package_, rel->target, *sheet, context, error_))
                return false;
        }
        return true;
    }

    Book& book_;
    std::string& error_;
    ZipPackage package_;
    Relationships rels_;
    SharedStrings strings_;
    std::unique_ptr<DateStyles> dateStyles_;
    ReadBudget budget_;
};

} // namespace

bool load(const std::string& path, Book& book, std::string& error) {
    Loader loader(book, error);
    return loader.run(path);
}

} // namespace frusta::xlsx
