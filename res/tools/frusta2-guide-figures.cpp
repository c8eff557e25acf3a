// frusta2-guide-figures: the figures of the user guide's worked example, as AsciiDoc
// attributes, from what the program computed.
//   frusta2-guide-figures RESULTS.json DATABASE SITE OUTPUT.adoc
// RESULTS.json is what `frusta2-cli assess --format json` wrote for the example worksheet;
// DATABASE is the reference database it used, from which the metric's class boundaries are
// read the way the program reads them; SITE is the site code of the example's site.
// Every number is written as the results workbook shows it, with two decimals; sums of
// counts that are whole numbers without decimals.
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "engine/ClassBoundaries.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace {

using json = nlohmann::ordered_json; // the information rows keep their worksheet order

std::string twoDecimals(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

// A number of the JSON document with two decimals; "..." for a missing one, as the grids
// show it.
std::string figure(const json& v) {
    return v.is_number() ? twoDecimals(v.get<double>()) : std::string("...");
}

// A sum of counts: whole numbers without decimals, as counts usually are.
std::string countFigure(const json& v) {
    if (!v.is_number())
        return "...";
    const double d = v.get<double>();
    if (std::abs(d) < 1e15 && d == std::floor(d)) {
        char text[64];
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(d));
        return text;
    }
    return twoDecimals(d);
}

std::string text(const json& v) {
    if (v.is_string())
        return v.get<std::string>();
    if (v.is_number())
        return figure(v);
    return std::string();
}

// One AsciiDoc attribute line. A value is kept on one line and empty values stay defined.
void attribute(std::ostream& out, const std::string& name, const std::string& value) {
    std::string v;
    for (char c : value)
        v += c == '\n' || c == '\r' ? ' ' : c;
    out << ':' << name << ": " << v << '\n';
}

const json& member(const json& object, const std::string& key) {
    if (!object.contains(key))
        throw std::runtime_error("the results have no field \"" + key + "\"");
    return object.at(key);
}

void writeSamples(std::ostream& out, const json& doc, const std::string& site,
                  const std::string& metric) {
    int n = 0;
    for (const json& s : member(doc, "samples")) {
        const json& info = member(s, "info");
        if (!info.contains("Site code") || info.at("Site code") != site)
            continue;
        const json& r = member(s, "results");
        const std::string p = "wx-s" + std::to_string(++n) + "-";
        attribute(out, p + "name", text(member(info, "Sample name")));
        // The fourth information row: alkalinity for rivers, the lake type for lakes.
        auto it = info.begin();
        for (int row = 0; row < 3 && it != info.end(); ++row)
            ++it;
        attribute(out, p + "env", it != info.end() ? text(*it) : std::string());
        attribute(out, p + "sum", countFigure(member(r, "Sample sum")));
        attribute(out, p + "scored", countFigure(member(r, "Sum " + metric)));
        attribute(out, p + "metric", figure(member(r, metric)));
        attribute(out, p + "expected", figure(member(r, "e" + metric)));
        attribute(out, p + "eqr", figure(member(r, "EQR " + metric)));
        attribute(out, p + "class", text(member(s, "class")));
        const std::string comment = text(member(s, "comment"));
        attribute(out, p + "comment", comment.empty() ? "none" : comment);
    }
    if (n == 0)
        throw std::runtime_error("no sample has the site code " + site);
    attribute(out, "wx-samples", std::to_string(n));
}

void writeSite(std::ostream& out, const json& doc, const std::string& site) {
    for (const json& s : member(doc, "sites")) {
        if (member(s, "Site code") != site)
            continue;
        attribute(out, "wx-site", site);
        attribute(out, "wx-site-n", std::to_string(member(s, "No. Samples").get<int>()));
        attribute(out, "wx-site-missing", std::to_string(member(s, "No. missing").get<int>()));
        attribute(out, "wx-site-mean", figure(member(s, "Mean EQR")));
        attribute(out, "wx-site-class", text(member(s, "Class")));
        const char* const keys[][2] = {
            {"CoC High", "coc-high"}, {"CoC Good", "coc-good"}, {"CoC Mod", "coc-mod"},
            {"CoC Poor", "coc-poor"}, {"CoC Bad", "coc-bad"},   {"RoM", "rom"},
            {"CoC HG", "coc-hg"},     {"CoC MPB", "coc-mpb"},   {"RoM-G/M", "rom-gm"}};
        for (const auto& k : keys)
            attribute(out, std::string("wx-site-") + k[1], figure(member(s, k[0])));
        // The confidence of the site's own class.
        const json& code = member(s, "classCode");
        const int c = code.is_number() ? code.get<int>() : 0;
        attribute(out, "wx-site-coc-class",
                  c >= 1 && c <= 5 ? figure(member(s, keys[c - 1][0])) : std::string("..."));
        return;
    }
    throw std::runtime_error("the results have no site " + site);
}

void writeBoundaries(std::ostream& out, const std::string& database, const std::string& metric) {
    // Messages of the database reading go to standard error; nothing is asked.
    frusta::ScriptedPort port;
    port.echo = "frusta2-guide-figures: ";
    frusta::CPbtApp app;
    frusta::StartupOptions options;
    options.database = database;
    if (!app.InitInstance(port, options) || !app.LoadBoundaries(metric, port))
        throw std::runtime_error("the class boundaries of " + metric + " cannot be read");
    const frusta::engine::ClassBoundaries bounds(app.boundaryTable.get());
    const auto b = bounds.boundaries(0);
    if (!b)
        throw std::runtime_error("the database has no class boundaries for " + metric);
    const char* const names[] = {"wx-hg", "wx-gm", "wx-mp", "wx-pb"};
    for (int k = 0; k < 4; ++k)
        attribute(out, names[k], twoDecimals((*b)[static_cast<std::size_t>(k)]));
    app.ExitInstance();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s RESULTS.json DATABASE SITE OUTPUT.adoc\n", argv[0]);
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in)
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        const json doc = json::parse(in);
        const std::string metric = member(doc, "metric").get<std::string>();
        std::ostringstream out;
        out << "// The worked example's figures, written by frusta2-guide-figures from the\n"
               "// program's results for the example dataset. Do not edit.\n";
        attribute(out, "wx-worksheet", member(doc, "worksheet").get<std::string>());
        attribute(out, "wx-metric", metric);
        writeSamples(out, doc, argv[3], metric);
        writeSite(out, doc, argv[3]);
        writeBoundaries(out, argv[2], metric);
        std::ofstream file(argv[4], std::ios::binary | std::ios::trunc);
        file << out.str();
        if (!file.flush())
            throw std::runtime_error(std::string("cannot write ") + argv[4]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
