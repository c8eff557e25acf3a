#include "workbook/ods/DocumentKind.h"

namespace frusta::ods {

std::string refusalForMimetype(std::string_view mimetype) {
    while (!mimetype.empty() &&
           (mimetype.back() == '\n' || mimetype.back() == '\r' || mimetype.back() == ' '))
        mimetype.remove_suffix(1);
    constexpr std::string_view kPrefix = "application/vnd.oasis.opendocument.";
    if (mimetype.substr(0, kPrefix.size()) != kPrefix) {
        if (mimetype.substr(0, 28) == "application/vnd.sun.xml.calc")
            return "OpenOffice.org 1 spreadsheets (.sxc) are not supported; save the workbook "
                   "as .ods or .xlsx";
        return "the file is not an OpenDocument spreadsheet (its type is '" +
               std::string(mimetype.substr(0, 80)) + "')";
    }
    std::string_view kind = mimetype.substr(kPrefix.size());
    if (const auto dash = kind.find('-'); dash != std::string_view::npos)
        kind = kind.substr(0, dash); // "-template", "-master"
    if (kind == "spreadsheet")
        return {};
    if (kind == "text")
        return "the file is an OpenDocument text document (.odt), not a spreadsheet";
    if (kind == "presentation")
        return "the file is an OpenDocument presentation (.odp), not a spreadsheet";
    if (kind == "graphics")
        return "the file is an OpenDocument drawing (.odg), not a spreadsheet";
    return "the file is an OpenDocument " + std::string(kind.substr(0, 40)) +
           " document, not a spreadsheet";
}

} // namespace frusta::ods
