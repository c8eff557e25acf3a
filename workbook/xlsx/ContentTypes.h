#pragma once
// [Content_Types].xml: the media type of each part, used to tell a workbook from other
// Office documents before reading it.
#include <string>
#include <string_view>
#include <unordered_map>

namespace frusta::xlsx {

class ZipPackage;

class ContentTypes {
public:
    // Reads the content types part; a package without one gives an empty table.
    bool read(ZipPackage& package, std::string& error);
    // The media type of the part ("" when unknown).
    std::string typeOf(std::string_view partName) const;
    // The (normalised) name of the part that an Override declares to be a workbook's main
    // part, "" when none does.
    std::string workbookPart() const;

private:
    friend class ContentTypesHandler;
    std::unordered_map<std::string, std::string> defaults_;  // lower-case extension -> type
    std::unordered_map<std::string, std::string> overrides_; // normalised part name -> type
};

} // namespace frusta::xlsx
