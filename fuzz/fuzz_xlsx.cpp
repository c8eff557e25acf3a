// libFuzzer target of the .xlsx reader. An input that starts with "PK" is loaded as a
// whole file; any other input is split at "\n----\n" into worksheet, shared strings,
// styles, workbook, package relationships and content types XML and wrapped into a valid
// package, so that the XML readers are reached without first getting past the zip
// checksums. Parts left empty get usable defaults; a package relationships part of "-" is
// left out (the reader falls back to the content types and the usual place), and so is the
// worksheet part when it is "-" (the sheet is listed but unreadable).
#include "FuzzSupport.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string relationship(const char* id, const char* kind, const char* target) {
    return std::string("<Relationship Id=\"") + id +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + kind +
           "\" Target=\"" + target + "\"/>";
}

bool writePackage(const std::vector<std::string>& xml, const std::string& path) {
    const std::string relsHead =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    std::string workbook = xml[3];
    if (workbook.empty())
        workbook = "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                   "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                   "relationships\"><workbookPr date1904=\"1\"/><sheets><sheet name=\"F\" "
                   "sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    std::vector<std::pair<std::string, std::string>> parts = {
        {"_rels/.rels", xml[4].empty()
                            ? relsHead + relationship("rId1", "officeDocument", "xl/workbook.xml") +
                                  "</Relationships>"
                            : xml[4]},
        {"xl/workbook.xml", workbook},
        {"xl/_rels/workbook.xml.rels",
         relsHead + relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
             relationship("rId2", "sharedStrings", "sharedStrings.xml") +
             relationship("rId3", "styles", "/xl/styles.xml") + "</Relationships>"},
        {"xl/worksheets/sheet1.xml", xml[0]},
        {"xl/sharedStrings.xml", xml[1].empty() ? "<sst/>" : xml[1]},
        {"xl/styles.xml", xml[2].empty() ? "<styleSheet/>" : xml[2]},
    };
    if (!xml[5].empty())
        parts.emplace_back("[Content_Types].xml", xml[5]);
    return frusta::fuzz::writeStoredZip(path, parts);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace frusta::fuzz;
    static const std::string path = scratchPath("fuzz_xlsx", ".xlsx");
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool written = input.substr(0, 2) == "PK" ? writeFile(path, input)
                                                    : writePackage(splitParts(input, 6), path);
    if (written)
        loadAndTouch(path);
    return 0;
}
