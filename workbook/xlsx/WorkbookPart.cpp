#include "workbook/xlsx/WorkbookPart.h"

#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/XmlReader.h"

namespace frusta::xlsx {

namespace {

bool isTrue(const char* value) {
    const std::string_view v = value ? value : "";
    return v == "1" || v == "true" || v == "on";
}

class WorkbookHandler : public XmlHandler {
public:
    explicit WorkbookHandler(WorkbookInfo& info) : info_(info) {}

    void startElement(XmlNs ns, std::string_view name, const char** attrs, int depth) override {
        if (depth == 1) {
            if (!isMain(ns) || name != "workbook")
                fail("the main part of the package is not an Excel workbook");
            return;
        }
        if (!isMain(ns))
            return;
        if (depth == 2) {
            inSheets_ = name == "sheets";
            if (name == "workbookPr")
                info_.date1904 = isTrue(attribute(attrs, "date1904"));
        } else if (depth == 3 && inSheets_ && name == "sheet") {
            addSheet(attrs);
        }
    }

    void endElement(XmlNs, std::string_view, int depth) override {
        if (depth == 2)
            inSheets_ = false;
    }

private:
    void addSheet(const char** attrs) {
        const char* name = attribute(attrs, "name");
        const char* id = relationshipId(attrs);
        if (!name || !id) {
            fail("the workbook part lists a sheet without a name or a part");
            return;
        }
        if (info_.sheets.size() >= static_cast<std::size_t>(kMaxEntries)) {
            fail("the workbook lists too many sheets");
            return;
        }
        info_.sheets.push_back({name, id});
    }

    WorkbookInfo& info_;
    bool inSheets_ = false;
};

} // namespace

bool readWorkbookPart(ZipPackage& package, const std::string& partName, WorkbookInfo& info,
                      std::string& error) {
    WorkbookHandler handler(info);
    return parsePart(package, partName, handler, error);
}

} // namespace frusta::xlsx
