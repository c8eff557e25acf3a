// Writes a large sample workbook for benchmarks: six information rows, one row per taxon
// with codes BT00001..., counts mostly zero or empty.
//
// Usage: bench_gen_workbook OUT.xlsx|OUT.xls SAMPLES TAXA OCCUPIED [zeros|empty] [SEED]
//   OCCUPIED  share of count cells holding a positive count (0 to 1)
//   zeros     the other count cells hold 0 (every cell filled); empty: they are left empty
#include "workbook/Book.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace frusta;

namespace {

uint64_t next(uint64_t& s) {
    s ^= s >> 12;
    s ^= s << 25;
    s ^= s >> 27;
    return s * 2685821657736338717ULL;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "Usage: bench_gen_workbook OUT SAMPLES TAXA OCCUPIED [zeros|empty] [SEED]\n");
        return 2;
    }
    const std::string out = argv[1];
    const int samples = std::atoi(argv[2]);
    const int taxa = std::atoi(argv[3]);
    const double occupied = std::atof(argv[4]);
    const bool zeros = argc < 6 || std::strcmp(argv[5], "zeros") == 0;
    uint64_t seed = argc > 6 ? std::strtoull(argv[6], nullptr, 10) : 12345;
    const bool xls = out.size() > 4 && out.compare(out.size() - 4, 4, ".xls") == 0;
    auto book = xls ? Book::createBinary() : Book::createXml();
    Format* date = book->addFormat();
    date->setNumFormat(14);
    Sheet& s = *book->addSheet("Counts");
    const char* labels[] = {"Sample",          "Site code", "Date", "Alkalinity (mg/l)",
                            "Calcium (ueq/l)", "DOC (mg/l)"};
    for (int r = 0; r < 6; ++r)
        s.writeStr(r, 0, labels[r]);
    char text[32];
    for (int i = 0; i < samples; ++i) {
        const int col = 2 + i;
        std::snprintf(text, sizeof text, "S%05d", i + 1);
        s.writeStr(0, col, text);
        std::snprintf(text, sizeof text, "SITE%04d", i / 4 + 1);
        s.writeStr(1, col, text);
        s.writeNum(2, col, 40000 + static_cast<double>(next(seed) % 700), date);
        s.writeNum(3, col, 5 + static_cast<double>(next(seed) % 2000) / 10.0);
        s.writeNum(4, col, 10 + static_cast<double>(next(seed) % 400));
        s.writeNum(5, col, 1 + static_cast<double>(next(seed) % 100) / 10.0);
    }
    const uint64_t threshold = static_cast<uint64_t>(occupied * 1000000.0);
    for (int t = 0; t < taxa; ++t) {
        const int row = 6 + t;
        std::snprintf(text, sizeof text, "BT%05d", t + 1);
        s.writeStr(row, 0, text);
        std::snprintf(text, sizeof text, "Taxon %d", t + 1);
        s.writeStr(row, 1, text);
        for (int i = 0; i < samples; ++i) {
            const uint64_t r = next(seed);
            if (r % 1000000 < threshold)
                s.writeNum(row, 2 + i, static_cast<double>(1 + (r >> 32) % 200));
            else if (zeros)
                s.writeNum(row, 2 + i, 0.0);
        }
    }
    if (!book->save(out)) {
        std::fprintf(stderr, "bench_gen_workbook: %s\n", book->errorMessage());
        return 1;
    }
    return 0;
}
