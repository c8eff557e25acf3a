#include "workbook/xlsx/XmlNamespaces.h"

#include <algorithm>
#include <cstring>

namespace frusta::xlsx {

namespace {

// The prefix of a declaration attribute: "" for "xmlns", "p" for "xmlns:p"; false for
// other attributes.
bool declaredPrefix(const char* name, std::string_view& prefix) {
    if (name[0] != 'x' || std::strncmp(name, "xmlns", 5) != 0)
        return false;
    if (name[5] == '\0') {
        prefix = {};
        return true;
    }
    if (name[5] != ':')
        return false;
    prefix = name + 6;
    return true;
}

// Splits "p:local" at its first colon; an empty prefix when there is none.
void splitQName(const char* qname, std::string_view& prefix, std::string_view& local) {
    const char* p = qname;
    while (*p && *p != ':')
        ++p;
    if (!*p) {
        prefix = {};
        local = std::string_view(qname, static_cast<std::size_t>(p - qname));
        return;
    }
    prefix = std::string_view(qname, static_cast<std::size_t>(p - qname));
    local = p + 1;
}

} // namespace

XmlNs classifyNamespace(std::string_view uri) {
    if (uri.empty())
        return XmlNs::None;
    // Transitional, strict, and the namespace of the pre-release versions of Excel 2007.
    if (uri == "http://schemas.openxmlformats.org/spreadsheetml/2006/main" ||
        uri == "http://purl.oclc.org/ooxml/spreadsheetml/main" ||
        uri == "http://schemas.microsoft.com/office/excel/2006/2")
        return XmlNs::Main;
    if (uri == "http://schemas.openxmlformats.org/officeDocument/2006/relationships" ||
        uri == "http://purl.oclc.org/ooxml/officeDocument/relationships" ||
        uri == "http://schemas.microsoft.com/office/2006/relationships")
        return XmlNs::Relationships;
    if (uri == "http://schemas.openxmlformats.org/package/2006/relationships")
        return XmlNs::Package;
    if (uri == "http://schemas.openxmlformats.org/package/2006/content-types")
        return XmlNs::ContentTypes;
    if (uri == "urn:oasis:names:tc:opendocument:xmlns:office:1.0")
        return XmlNs::OdfOffice;
    if (uri == "urn:oasis:names:tc:opendocument:xmlns:table:1.0")
        return XmlNs::OdfTable;
    if (uri == "urn:oasis:names:tc:opendocument:xmlns:text:1.0")
        return XmlNs::OdfText;
    if (uri == "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0")
        return XmlNs::OdfManifest;
    if (uri == "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0")
        return XmlNs::OdfCalcExt;
    return XmlNs::Other;
}

NamespaceScope::NamespaceScope() {
    bindings_.push_back({"xml", XmlNs::Other, 0});
}

bool NamespaceScope::enter(const char* const* attrs, int depth) {
    bool declared = false;
    for (; *attrs; attrs += 2) {
        std::string_view prefix;
        if (!declaredPrefix(attrs[0], prefix))
            continue;
        if (bindings_.size() >= kMaxBindings)
            return false;
        bindings_.push_back({std::string(prefix), classifyNamespace(attrs[1]), depth});
        declared = true;
    }
    if (declared) {
        updateDefault();
        recentCount_ = 0;
    }
    return true;
}

void NamespaceScope::leave(int depth) {
    // The predeclared "xml" binding (depth 0) is never dropped.
    if (bindings_.back().depth != depth)
        return;
    while (bindings_.back().depth == depth)
        bindings_.pop_back();
    updateDefault();
    recentCount_ = 0;
}

void NamespaceScope::updateDefault() {
    default_ = XmlNs::None;
    for (auto it = bindings_.rbegin(); it != bindings_.rend(); ++it)
        if (it->prefix.empty()) {
            default_ = it->ns;
            return;
        }
}

bool NamespaceScope::lookup(std::string_view prefix, XmlNs& ns) const {
    for (std::size_t i = 0; i < recentCount_; ++i)
        if (recent_[i].prefix == prefix) {
            ns = recent_[i].ns;
            return true;
        }
    for (auto it = bindings_.rbegin(); it != bindings_.rend(); ++it)
        if (it->prefix == prefix) {
            ns = it->ns;
            Recent& slot = recent_[recentNext_];
            slot.prefix.assign(prefix);
            slot.ns = ns;
            recentNext_ = (recentNext_ + 1) % kRecent;
            recentCount_ = std::min(recentCount_ + 1, kRecent);
            return true;
        }
    return false;
}

bool NamespaceScope::resolveAttribute(const char* qname, XmlNs& ns, std::string_view& local) const {
    std::string_view prefix;
    splitQName(qname, prefix, local);
    if (prefix.empty() && local.data() == qname) {
        ns = XmlNs::None;
        return true;
    }
    return lookup(prefix, ns);
}

} // namespace frusta::xlsx
