#pragma once
// Streaming XML parsing of package parts with expat: the part is inflated in chunks and fed
// to the parser, so that no part is ever held in memory whole. Documents with a DOCTYPE
// (and so any entity declaration) are refused, and nesting is bounded.
#include "workbook/xlsx/XmlNamespaces.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace frusta::xlsx {

class ZipPackage;

inline bool isMain(XmlNs ns) {
    return ns == XmlNs::Main || ns == XmlNs::None;
}

class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // `depth` is 1 for the root element. `attrs` is expat's list of name, value pairs, with
    // the names as written ("r", "r:id", "xmlns:x").
    virtual void startElement(XmlNs ns, std::string_view name, const char** attrs, int depth) = 0;
    virtual void endElement(XmlNs ns, std::string_view name, int depth) = 0;
    // Text is delivered only while collecting() is true.
    virtual void characters(std::string_view text) { (void)text; }
    bool collecting() const { return collecting_; }

    // Stops the parse; the reason becomes the load error.
    void fail(std::string reason) {
        if (failure_.empty())
            failure_ = std::move(reason);
    }
    bool failed() const { return !failure_.empty(); }
    const std::string& failure() const { return failure_; }

protected:
    void setCollecting(bool on) { collecting_ = on; }
    // Value of the r:id attribute (either relationships namespace, whatever its prefix), or
    // nullptr; only while an element is being handled.
    const char* relationshipId(const char** attrs) const;
    // Splits an attribute name into its namespace and local part; false when its prefix is
    // not declared. Only while an element is being handled.
    bool resolveAttribute(const char* qname, XmlNs& ns, std::string_view& local) const;

private:
    friend bool parseXml(const std::function<long(char*, std::size_t, std::string&)>&,
                         const std::string&, XmlHandler&, std::string&);

    std::string failure_;
    const NamespaceScope* scope_ = nullptr; // set while parsePart runs
    bool collecting_ = false;
};

// Value of the attribute `name` without namespace, or nullptr.
const char* attribute(const char** attrs, std::string_view name);

// Parses the part through `handler`; false with a reason when the part is missing, not
// well-formed, refused, or the handler failed.
bool parsePart(ZipPackage& package, std::string_view partName, XmlHandler& handler,
               std::string& error);

// Reads the next bytes of a document: the count read, 0 at the end, -1 on failure with the
// reason.
using XmlSource = std::function<long(char* buffer, std::size_t capacity, std::string& error)>;

// Parses the document that `source` delivers through `handler`. `what` names the document in
// messages ("the part 'content.xml'", "the file").
bool parseXml(const XmlSource& source, const std::string& what, XmlHandler& handler,
              std::string& error);

} // namespace frusta::xlsx
