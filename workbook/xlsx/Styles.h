#pragma once
// The styles part (xl/styles.xml), read only to know which cell formats show dates: in a
// workbook of the 1904 date system the numbers of those cells are moved to the 1900 system.
#include <string>
#include <vector>

namespace frusta::xlsx {

class ZipPackage;

class DateStyles {
public:
    bool read(ZipPackage& package, const std::string& partName, std::string& error);
    // True when cell format `index` (a cell's s attribute) has a date number format.
    bool isDate(long index) const {
        return index >= 0 && static_cast<std::size_t>(index) < dates_.size() && dates_[index];
    }

private:
    std::vector<bool> dates_;
};

} // namespace frusta::xlsx
