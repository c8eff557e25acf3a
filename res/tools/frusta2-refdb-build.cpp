// frusta2-refdb-build: builds the bundled reference database from its text tables.
//   frusta2-refdb-build OUTPUT.sqlite TABLE.tsv...
// Each file becomes the table named by its stem.
#include "refdb/ReferenceTsv.h"
#include "refdb/SqliteBuilder.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.sqlite TABLE.tsv...\n", argv[0]);
        return 2;
    }
    try {
        std::vector<frusta::TsvTable> tables;
        for (int i = 2; i < argc; ++i)
            tables.push_back(frusta::readTsvTable(argv[i]));
        frusta::buildSqliteDatabase(argv[1], tables);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
