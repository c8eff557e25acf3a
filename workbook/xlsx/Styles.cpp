#include "workbook/xlsx/Styles.h"

#include "workbook/NumberFormat.h"
#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/XmlReader.h"

#include <charconv>
#include <cstring>
#include <unordered_map>

namespace frusta::xlsx {

namespace {

constexpr std::size_t kMaxCellFormats = 1000000;

int formatId(const char* text) {
    int id = -1;
    if (text)
        std::from_chars(text, text + std::strlen(text), id);
    return id;
}

class StylesHandler : public XmlHandler {
public:
    void startElement(XmlNs ns, std::string_view name, const char** attrs, int depth) override {
        if (depth == 1) {
            if (!isMain(ns) || name != "styleSheet")
                fail("the styles part is not a style sheet");
            return;
        }
        if (!isMain(ns))
            return;
        if (depth == 2) {
            section_ = name;
        } else if (depth == 3 && section_ == "numFmts" && name == "numFmt") {
            const char* code = attribute(attrs, "formatCode");
            if (codes_.size() < kMaxCellFormats)
                codes_[formatId(attribute(attrs, "numFmtId"))] = code ? code : "";
        } else if (depth == 3 && section_ == "cellXfs" && name == "xf") {
            if (xfs_.size() >= kMaxCellFormats) {
                fail("the styles part holds too many cell formats");
                return;
            }
            xfs_.push_back(formatId(attribute(attrs, "numFmtId")));
        }
    }
    void endElement(XmlNs, std::string_view, int depth) override {
        if (depth == 2)
            section_.clear();
    }

    std::vector<bool> dateFlags() const {
        std::vector<bool> flags(xfs_.size());
        for (std::size_t i = 0; i < xfs_.size(); ++i) {
            const auto code = codes_.find(xfs_[i]);
            flags[i] = isDateFormat(xfs_[i], code != codes_.end() ? code->second : std::string());
        }
        return flags;
    }

private:
    std::string section_;
    std::unordered_map<int, std::string> codes_;
    std::vector<int> xfs_;
};

} // namespace

bool DateStyles::read(ZipPackage& package, const std::string& partName, std::string& error) {
    StylesHandler handler;
    if (!parsePart(package, partName, handler, error))
        return false;
    dates_ = handler.dateFlags();
    return true;
}

} // namespace frusta::xlsx
