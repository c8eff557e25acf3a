#pragma once
// The workbook part (xl/workbook.xml): the sheets in their order, and the date system.
#include <string>
#include <vector>

namespace frusta::xlsx {

class ZipPackage;

struct SheetEntry {
    std::string name;
    std::string relationshipId;
};

struct WorkbookInfo {
    std::vector<SheetEntry> sheets;
    bool date1904 = false;
};

bool readWorkbookPart(ZipPackage& package, const std::string& partName, WorkbookInfo& info,
                      std::string& error);

} // namespace frusta::xlsx
