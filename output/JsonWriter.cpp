#include "output/JsonWriter.h"

#include "doc/TaxonMatchView.h"
#include "output/ResultsTables.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <set>

namespace frusta {

namespace {

using Json = nlohmann::ordered_json;

Json cellJson(const TableCell& cell) {
    switch (cell.kind) {
    case TableCell::Kind::Number:
        return cell.number;
    case TableCell::Kind::Text:
        return cell.text;
    case TableCell::Kind::Empty:
        break;
    }
    return nullptr;
}

Json classCodeJson(int code) {
    return code == 0 ? Json(nullptr) : Json(code);
}

// The cells first..last-1 of a row as an object keyed by the table's header.
Json rowObject(const ResultsTable& t, const TableRow& row, std::size_t first, std::size_t last) {
    Json o = Json::object();
    for (std::size_t c = first; c < last && c < row.size() && c < t.header.size(); ++c)
        o[t.header[c]] = cellJson(row[c]);
    return o;
}

std::vector<std::string> infoKeys(const ResultsTables& t) {
    std::vector<std::string> keys;
    std::set<std::string> used;
    for (int h = 0; h < t.infoColumns; ++h) {
        const std::string& label = t.samples.header[static_cast<std::size_t>(h)];
        keys.push_back(infoKey(label, h, used.count(label) != 0));
        used.insert(keys.back());
    }
    return keys;
}

Json sampleJson(const ResultsTables& t, const std::vector<std::string>& keys, std::size_t s) {
    const TableRow& row = t.samples.rows[s];
    Json sample = Json::object();
    Json info = Json::object();
    for (std::size_t h = 0; h < keys.size() && h < row.size(); ++h)
        info[keys[h]] = cellJson(row[h]);
    sample["info"] = std::move(info);
    if (t.commentColumn < 0)
        return sample;
    Json results = Json::object();
    for (int c = t.infoColumns; c < t.commentColumn; ++c)
        if (c != t.classColumn)
            results[t.samples.header[c]] = cellJson(row[c]);
    sample["results"] = std::move(results);
    sample["class"] = cellJson(row[t.classColumn]);
    sample["classCode"] = classCodeJson(t.sampleClass[s]);
    sample["comment"] = cellJson(row[t.commentColumn]);
    if (s < t.shareColumns.rows.size()) {
        const TableRow& share = t.shareColumns.rows[s];
        sample["scoredShare"] = cellJson(share[0]);
        sample["belowThreshold"] =
            share[1].isEmpty() ? Json(nullptr) : Json(share[1].text == "Yes");
    }
    return sample;
}

Json samplesJson(const ResultsTables& t) {
    Json samples = Json::array();
    const auto keys = infoKeys(t);
    for (std::size_t s = 0; s < t.samples.rows.size(); ++s)
        samples.push_back(sampleJson(t, keys, s));
    return samples;
}

Json sitesJson(const ResultsTables& t) {
    Json sites = Json::array();
    for (std::size_t i = 0; i < t.sites.rows.size(); ++i) {
        Json site = rowObject(t.sites, t.sites.rows[i], 0, t.sites.header.size());
        site["classCode"] = classCodeJson(t.siteClass[i]);
        sites.push_back(std::move(site));
    }
    return sites;
}

// Code, Name, N, N2 and Max: the score columns of the workbook's table stay empty.
Json unmatchedJson(const ResultsTables& t) {
    Json taxa = Json::array();
    for (const TableRow& row : t.unmatched.rows)
        taxa.push_back(rowObject(t.unmatched, row, 0, 5));
    return taxa;
}

// The taxa keyed by the table's header, the suggestions as a list of code and name.
Json taxaJson(const ResultsTables& t) {
    const std::size_t first = static_cast<std::size_t>(TaxonColumn::Suggestion1Code);
    Json taxa = Json::array();
    for (const TableRow& row : t.taxa.rows) {
        Json taxon = rowObject(t.taxa, row, 0, first);
        for (auto group : {TaxonColumn::Planktic, TaxonColumn::Motile, TaxonColumn::OrganicTolerant,
                           TaxonColumn::Saline}) {
            const auto c = static_cast<std::size_t>(group);
            taxon[t.taxa.header[c]] = !row[c].isEmpty();
        }
        Json suggestions = Json::array();
        for (std::size_t c = first; c + 1 < row.size(); c += 2)
            if (!row[c].isEmpty())
                suggestions.push_back({{"code", cellJson(row[c])}, {"name", cellJson(row[c + 1])}});
        taxon["suggestions"] = std::move(suggestions);
        taxa.push_back(std::move(taxon));
    }
    return taxa;
}

Json runJson(const ResultsTables& t) {
    Json run = Json::object();
    for (const TableRow& row : t.run.rows)
        run[row[0].text] = row[1].isEmpty() ? Json("") : cellJson(row[1]);
    return run;
}

} // namespace

std::string infoKey(const std::string& label, int h, bool alreadyUsed) {
    const std::string row = "row " + std::to_string(h + 1);
    if (label.empty())
        return row;
    return alreadyUsed ? label + " (" + row + ")" : label;
}

void writeJson(const ResultsTables& tables, const JsonSource& source, std::ostream& out) {
    Json doc = Json::object();
    doc["input"] = source.input;
    doc["worksheet"] = source.worksheet;
    doc["metric"] = tables.metric;
    doc["summary"] = tables.summary;
    doc["samples"] = samplesJson(tables);
    doc["sites"] = sitesJson(tables);
    doc["unmatched"] = unmatchedJson(tables);
    doc["taxa"] = taxaJson(tables);
    doc["run"] = runJson(tables);
    // Texts that are not valid UTF-8 get U+FFFD rather than making the document unwritable.
    out << doc.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

} // namespace frusta
