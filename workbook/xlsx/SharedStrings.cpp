#include "workbook/xlsx/SharedStrings.h"

#include "workbook/Book.h"
#include "workbook/xlsx/OoxmlText.h"
#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/XmlReader.h"

namespace frusta::xlsx {

namespace {

// Pool cost of one string beyond its characters.
constexpr std::uint64_t kStringOverhead = sizeof(std::string);

class SharedStringsHandler : public XmlHandler {
public:
    SharedStringsHandler(Book& book, ReadBudget& budget, SharedStrings& table)
        : book_(book), budget_(budget), table_(table) {}

    void startElement(XmlNs ns, std::string_view name, const char**, int depth) override {
        if (depth == 1) {
            if (!isMain(ns) || name != "sst")
                fail("the shared strings part is not a shared string table");
            return;
        }
        if (!isMain(ns))
            return;
        if (depth == 2 && (name == "si" || name == "sstItem")) {
            inItem_ = true;
            text_.clear();
        } else if (depth == 2 && name != "extLst") {
            if (table_.unknownEntries++ == 0)
                table_.unknownName = name;
        } else if (inItem_ && depth == 3) {
            inRun_ = name == "r";
            setCollecting(name == "t");
        } else if (inItem_ && inRun_ && depth == 4 && name == "t") {
            setCollecting(true);
        }
    }

    void endElement(XmlNs, std::string_view, int depth) override {
        setCollecting(false);
        if (depth == 3)
            inRun_ = false;
        if (depth == 2 && inItem_) {
            inItem_ = false;
            addItem();
        }
    }

    void characters(std::string_view text) override {
        if (text_.size() + text.size() > kMaxTextBytes) {
            fail("a shared string is longer than " + std::to_string(kMaxTextBytes / kMiB) + " MB");
            return;
        }
        text_.append(text);
    }

private:
    void addItem() {
        if (!budget_.charge(text_.size() + kStringOverhead)) {
            fail("the workbook's texts and cells need more than " +
                 std::to_string(budget_.limit() / kMiB) + " MB of memory");
            return;
        }
        const std::uint32_t index = book_.addString(unescapeText(text_));
        if (table_.count == 0)
            table_.first = index;
        ++table_.count;
    }

    Book& book_;
    ReadBudget& budget_;
    SharedStrings& table_;
    std::string text_;
    bool inItem_ = false;
    bool inRun_ = false;
};

} // namespace

bool readSharedStrings(ZipPackage& package, const std::string& partName, Book& book,
                       ReadBudget& budget, SharedStrings& table, std::string& error) {
    table = {static_cast<std::uint32_t>(book.stringCount()), 0, 0, {}};
    SharedStringsHandler handler(book, budget, table);
    return parsePart(package, partName, handler, error);
}

} // namespace frusta::xlsx
