// Writes the example dataset: a sample workbook with one worksheet for each metric family,
// made from the taxa of the bundled reference database. The same inputs always give the
// same workbook.
//
// Usage: make_example REFERENCE.sqlite OUTPUT.xls
#include "workbook/Book.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using frusta::Book;
using frusta::Format;
using frusta::Sheet;

namespace {

struct Taxon {
    std::string key;  // first column: NBN... or NHM...
    std::string code; // second column: short code
    std::string name;
    bool scored = false; // has a TDI4, LTDI2 and DAM score
};

// A small deterministic generator (xorshift64*), so that the workbook does not depend on the
// standard library's random engines.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 2685821657736338717ULL;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

private:
    uint64_t state_;
};

bool loadTaxa(const char* path, std::vector<Taxon>& taxa) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "make_example: cannot open %s\n", path);
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt* st = nullptr;
    const char* sql = "SELECT * FROM NBSMasterTaxonList_PhaseII";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "make_example: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    int tdi4 = -1, ltdi2 = -1, dam = -1, name = 2;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
        const std::string n = sqlite3_column_name(st, c);
        if (n == "TDI4")
            tdi4 = c;
        else if (n == "LTDI2")
            ltdi2 = c;
        else if (n == "DAM")
            dam = c;
        else if (n == "TaxonName" || n == "Name")
            name = c;
    }
    auto text = [&](int c) {
        const unsigned char* t = sqlite3_column_text(st, c);
        return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
    };
    auto positive = [&](int c) { return c >= 0 && sqlite3_column_double(st, c) > 0; };
    while (sqlite3_step(st) == SQLITE_ROW) {
        Taxon t{text(0), text(1), text(name), positive(tdi4) && positive(ltdi2) && positive(dam)};
        if (!t.code.empty() && !t.key.empty())
            taxa.push_back(std::move(t));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return !taxa.empty();
}

struct Layout {
    const char* sheetName;
    const char* row4Label;
    bool useKeys; // taxon codes of the first column (NBN/NHM keys) instead of short codes
    int sites;
    int samplesPerSite;
    uint64_t seed;
};

// Fills one worksheet: information rows 1 to 6, taxa from row 7, counts from column C.
void writeSheet(Book& book, const Format* dateFormat, const Layout& layout,
                const std::vector<Taxon>& taxa) {
    Sheet& s = *book.addSheet(layout.sheetName);
    Random rnd(layout.seed);
    const int samples = layout.sites * layout.samplesPerSite;
    s.writeStr(0, 0, "Sample name");
    s.writeStr(1, 0, "Site code");
    s.writeStr(2, 0, "Sampling date");
    s.writeStr(3, 0, layout.row4Label);
    s.writeStr(4, 0, "Calcium (ueq/l)");
    s.writeStr(5, 0, "DOC (mg/l)");
    static const char* const lakeTypes[] = {"HA", "MA", "LA"};
    static const int monthStarts[] = {39814, 39904, 39995, 40087}; // Jan, Apr, Jul, Oct 2009
    for (int i = 0; i < samples; ++i) {
        const int site = i / layout.samplesPerSite;
        const int col = 2 + i;
        char text[64];
        std::snprintf(text, sizeof text, "%c%02d-%d", layout.sheetName[0], site + 1,
                      i % layout.samplesPerSite + 1);
        s.writeStr(0, col, text);
        std::snprintf(text, sizeof text, "SITE%02d", site + 1);
        s.writeStr(1, col, text);
        const int season = (i + site) % 4;
        s.writeNum(2, col, monthStarts[season] + 365 * (i % 3) + rnd.below(60), dateFormat);
        const double alk = 5.0 + 30.0 * site + rnd.below(20);
        if (layout.row4Label[0] == 'L') {
            s.writeStr(3, col, lakeTypes[site % 3]);
        } else if (i == 4) {
            // a missing alkalinity: the cell is left empty
        } else if (i == 7) {
            s.writeNum(3, col, 320.0); // above the range of both river models
        } else if (i == 9) {
            s.writeNum(3, col, 2.5); // below it
        } else {
            s.writeNum(3, col, alk);
        }
        if (i != 3)
            s.writeNum(4, col, i == 6 ? 650.0 : 20.0 + 25.0 * site + rnd.below(15));
        if (i != 5)
            s.writeNum(5, col, i == 8 ? 60.0 : 1.0 + rnd.below(80) / 10.0);
    }
    // About 45 taxa from the reference list, then three codes the list does not know.
    std::vector<const Taxon*> chosen;
    const std::size_t step = taxa.size() > 45 ? taxa.size() / 45 : 1;
    for (std::size_t k = (layout.seed % step); k < taxa.size() && chosen.size() < 45; k += step)
        chosen.push_back(&taxa[k]);
    int row = 6;
    for (const Taxon* t : chosen) {
        s.writeStr(row, 0, layout.useKeys ? t->key : t->code);
        s.writeStr(row, 1, t->name);
        for (int i = 0; i < samples; ++i)
            if (rnd.below(3) == 0)
                s.writeNum(row, 2 + i, 1 + rnd.below(t->scored ? 60 : 10));
        ++row;
    }
    static const char* const unknown[][2] = {{"ZZ9901", "Naviculoid sp. (unidentified)"},
                                             {"ZZ9902", "Centric diatom indet."},
                                             {"ZZ9903", "Pennate diatom indet."}};
    for (const auto& u : unknown) {
        s.writeStr(row, 0, layout.useKeys ? std::string("NBN") + u[0] : u[0]);
        s.writeStr(row, 1, u[1]);
        for (int i = 0; i < samples; i += 3)
            s.writeNum(row, 2 + i, 1 + rnd.below(4));
        ++row;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: make_example REFERENCE.sqlite OUTPUT.xls\n");
        return 2;
    }
    std::vector<Taxon> taxa;
    if (!loadTaxa(argv[1], taxa))
        return 1;
    auto book = Book::createBinary();
    Format* date = book->addFormat();
    date->setNumFormat(14);
    const Layout layouts[] = {{"Rivers", "Alkalinity (mg/l)", false, 8, 3, 11},
                              {"Lakes", "Lake type", true, 6, 3, 23},
                              {"Acidification", "Alkalinity (mg/l)", false, 5, 3, 37}};
    for (const Layout& l : layouts)
        writeSheet(*book, date, l, taxa);
    if (!book->save(argv[2])) {
        std::fprintf(stderr, "make_example: %s\n", book->errorMessage());
        return 1;
    }
    return 0;
}
