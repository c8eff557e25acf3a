#include "workbook/xlsx/ContentTypes.h"

#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipPackage.h"

namespace frusta::xlsx {

namespace {

std::string lowerExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    const auto slash = name.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return normalizePartName(name.substr(dot + 1));
}

} // namespace

class ContentTypesHandler : public XmlHandler {
public:
    explicit ContentTypesHandler(ContentTypes& types) : types_(types) {}

    void startElement(XmlNs, std::string_view name, const char** attrs, int depth) override {
        if (depth == 1 && name != "Types") {
            fail("the part '[Content_Types].xml' does not list content types");
            return;
        }
        if (depth != 2)
            return;
        if (++count_ > kMaxEntries) {
            fail("the part '[Content_Types].xml' lists too many content types");
            return;
        }
        const char* type = attribute(attrs, "ContentType");
        if (!type)
            return;
        if (name == "Default") {
            if (const char* ext = attribute(attrs, "Extension"))
                types_.defaults_.emplace(normalizePartName(ext), type);
        } else if (name == "Override") {
            if (const char* part = attribute(attrs, "PartName"))
                types_.overrides_.emplace(normalizePartName(part), type);
        }
    }
    void endElement(XmlNs, std::string_view, int) override {}

private:
    ContentTypes& types_;
    long count_ = 0;
};

bool ContentTypes::read(ZipPackage& package, std::string& error) {
    defaults_.clear();
    overrides_.clear();
    if (!package.contains("[Content_Types].xml"))
        return true;
    ContentTypesHandler handler(*this);
    return parsePart(package, "[Content_Types].xml", handler, error);
}

std::string ContentTypes::workbookPart() const {
    // The main parts of workbooks, templates and macro-enabled workbooks, of any version:
    // "...spreadsheetml.sheet.main+xml", "...ms-excel.sheet.macroEnabled.main+xml" and the like.
    std::string best;
    for (const auto& [part, type] : overrides_) {
        const std::string_view t = type;
        const bool main = t.size() >= 8 && t.substr(t.size() - 8) == "main+xml";
        const bool excel = t.find("spreadsheetml") != std::string_view::npos ||
                           t.find("ms-excel") != std::string_view::npos;
        if (main && excel && (best.empty() || part < best))
            best = part; // the map has no order: the first by name, so that any run agrees
    }
    return best;
}

std::string ContentTypes::typeOf(std::string_view partName) const {
    const auto over = overrides_.find(normalizePartName(partName));
    if (over != overrides_.end())
        return over->second;
    const auto def = defaults_.find(lowerExtension(partName));
    return def != defaults_.end() ? def->second : std::string();
}

} // namespace frusta::xlsx
