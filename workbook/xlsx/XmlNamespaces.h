#pragma once
// The namespace prefixes in scope while a part is parsed. Expat runs without namespace
// processing, which would expand every element name to "URI local" only for the readers to
// compare the URI again; instead each declaration is classified once, when it is made, and
// element names are resolved by their (short) prefix.
#include <string>
#include <string_view>
#include <vector>

namespace frusta::xlsx {

// The namespaces that the readers tell apart. Elements without a namespace count as
// SpreadsheetML, which some writers omit.
enum class XmlNs : unsigned char {
    None,
    Main,          // SpreadsheetML: transitional, strict or of the Excel 2007 pre-releases
    Relationships, // officeDocument relationships (r:id), transitional or strict
    Package,       // package relationships (.rels parts)
    ContentTypes,  // [Content_Types].xml
    OdfOffice,     // OpenDocument: office:, table:, text: and manifest: elements
    OdfTable,
    OdfText,
    OdfManifest,
    OdfCalcExt, // LibreOffice's calcext: attributes
    Other
};

XmlNs classifyNamespace(std::string_view uri);

class NamespaceScope {
public:
    // Prefixes declared in one part; more means a crafted part, not a workbook.
    static constexpr std::size_t kMaxBindings = 1024;

    NamespaceScope();

    // Takes the xmlns declarations among the attributes of an element at `depth`; false
    // when there are more than kMaxBindings in scope.
    bool enter(const char* const* attrs, int depth);
    // Drops the declarations made by the element at `depth`, which has ended.
    void leave(int depth);

    // Splits an element name into its namespace and local part; false when its prefix is
    // not declared. Inline: it runs twice for every element of a sheet.
    bool resolveElement(const char* qname, XmlNs& ns, std::string_view& local) const {
        const char* p = qname;
        while (*p && *p != ':')
            ++p;
        if (!*p) {
            ns = default_;
            local = std::string_view(qname, static_cast<std::size_t>(p - qname));
            return true;
        }
        local = p + 1;
        return lookup(std::string_view(qname, static_cast<std::size_t>(p - qname)), ns);
    }
    // The same for an attribute name: without a prefix it has no namespace.
    bool resolveAttribute(const char* qname, XmlNs& ns, std::string_view& local) const;

private:
    struct Binding {
        std::string prefix; // empty for the default namespace
        XmlNs ns;
        int depth;
    };

    bool lookup(std::string_view prefix, XmlNs& ns) const;
    void updateDefault();

    std::vector<Binding> bindings_;
    XmlNs default_ = XmlNs::None;
    // The prefixes looked up last, valid until the bindings change: an OpenDocument part
    // declares some forty prefixes and uses three of them on every cell.
    struct Recent {
        std::string prefix;
        XmlNs ns;
    };
    static constexpr std::size_t kRecent = 4;
    mutable Recent recent_[kRecent];
    mutable std::size_t recentCount_ = 0;
    mutable std::size_t recentNext_ = 0;
};

} // namespace frusta::xlsx
