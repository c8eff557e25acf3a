#pragma once
// Package relationships (the .rels parts) and the resolution of their targets to part names.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace frusta::xlsx {

class ZipPackage;

struct Relationship {
    std::string id;
    std::string type;   // full type URI
    std::string target; // part name resolved against the source part, without leading '/'
    bool external = false;
};

class Relationships {
public:
    // Reads the relationships of `sourcePart` ("" for the package itself). A missing .rels
    // part gives no relationships and `found` false; a damaged one fails with a reason.
    bool read(ZipPackage& package, const std::string& sourcePart, bool& found, std::string& error);

    const Relationship* byId(std::string_view id) const;
    // The first internal relationship whose type ends in "/" + `kind` (for example
    // "officeDocument", "sharedStrings"), whatever the schema version of the type URI.
    const Relationship* firstOfKind(std::string_view kind) const;
    const std::vector<Relationship>& all() const { return items_; }

private:
    std::vector<Relationship> items_;
    std::unordered_map<std::string, std::size_t> byId_;
};

// The last segment of a relationship type URI ("worksheet" for ".../relationships/worksheet").
std::string_view relationshipKind(std::string_view type);
// The .rels part that holds the relationships of `sourcePart` ("_rels/.rels" for "").
std::string relationshipsPartOf(const std::string& sourcePart);
// Resolves a relationship target: absolute targets ("/xl/x.xml") from the package root,
// relative ones from the folder of the source part, with "." and ".." segments applied.
std::string resolveTarget(const std::string& sourcePart, std::string_view target);

} // namespace frusta::xlsx
