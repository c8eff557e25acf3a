#include "workbook/xlsx/Relationships.h"

#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipPackage.h"

namespace frusta::xlsx {

namespace {

class RelationshipsHandler : public XmlHandler {
public:
    explicit RelationshipsHandler(const std::string& source, std::vector<Relationship>& items)
        : source_(source), items_(items) {}

    void startElement(XmlNs ns, std::string_view name, const char** attrs, int depth) override {
        if (depth == 1 && name != "Relationships") {
            fail("the part '" + relationshipsPartOf(source_) + "' is not a relationships part");
            return;
        }
        if (depth != 2 || name != "Relationship" || (ns != XmlNs::Package && ns != XmlNs::None))
            return;
        const char* id = attribute(attrs, "Id");
        const char* type = attribute(attrs, "Type");
        const char* target = attribute(attrs, "Target");
        const char* mode = attribute(attrs, "TargetMode");
        if (!id || !type || !target)
            return;
        if (items_.size() >= static_cast<std::size_t>(kMaxEntries)) {
            fail("the part '" + relationshipsPartOf(source_) + "' lists too many relationships");
            return;
        } // incomplete entries are ignored, as nothing can refer to them usefully
        Relationship rel;
        rel.id = id;
        rel.type = type;
        rel.external = mode && std::string_view(mode) == "External";
        rel.target = rel.external ? std::string(target) : resolveTarget(source_, target);
        items_.push_back(std::move(rel));
    }
    void endElement(XmlNs, std::string_view, int) override {}

private:
    const std::string& source_;
    std::vector<Relationship>& items_;
};

std::string_view folderOf(std::string_view part) {
    const auto slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : part.substr(0, slash);
}

} // namespace

std::string_view relationshipKind(std::string_view type) {
    const auto slash = type.rfind('/');
    return slash == std::string_view::npos ? type : type.substr(slash + 1);
}

std::string relationshipsPartOf(const std::string& sourcePart) {
    const std::string_view folder = folderOf(sourcePart);
    const std::string_view file = folder.empty()
                                      ? std::string_view(sourcePart)
                                      : std::string_view(sourcePart).substr(folder.size() + 1);
    std::string rels(folder);
    if (!rels.empty())
        rels += '/';
    rels += "_rels/";
    rels += file;
    rels += ".rels";
    return rels;
}

std::string resolveTarget(const std::string& sourcePart, std::string_view target) {
    // Drop a fragment or query; part names have neither.
    const auto cut = target.find_first_of("#?");
    if (cut != std::string_view::npos)
        target = target.substr(0, cut);
    std::string path;
    if (!target.empty() && (target.front() == '/' || target.front() == '\\'))
        path = std::string(target.substr(1));
    else {
        path = std::string(folderOf(sourcePart));
        if (!path.empty())
            path += '/';
        path += target;
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const auto& segment : segments) {
        if (!resolved.empty())
            resolved += '/';
        resolved += segment;
    }
    return resolved;
}

bool Relationships::read(ZipPackage& package, const std::string& sourcePart, bool& found,
                         std::string& error) {
    items_.clear();
    byId_.clear();
    const std::string part = relationshipsPartOf(sourcePart);
    found = package.contains(part);
    if (!found)
        return true;
    RelationshipsHandler handler(sourcePart, items_);
    if (!parsePart(package, part, handler, error))
        return false;
    for (std::size_t i = 0; i < items_.size(); ++i)
        byId_.emplace(items_[i].id, i); // the first of duplicate ids wins
    return true;
}

const Relationship* Relationships::byId(std::string_view id) const {
    const auto it = byId_.find(std::string(id));
    return it == byId_.end() ? nullptr : &items_[it->second];
}

const Relationship* Relationships::firstOfKind(std::string_view kind) const {
    for (const auto& rel : items_)
        if (!rel.external && relationshipKind(rel.type) == kind)
            return &rel;
    return nullptr;
}

} // namespace frusta::xlsx
