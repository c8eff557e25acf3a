// The floor of reading an .xlsx sheet: inflate the first worksheet part and parse it with
// expat, doing nothing with what is parsed.
//
// Usage: bench_floor_xlsx BOOK.xlsx [PART]   (PART defaults to xl/worksheets/sheet1.xml)
#include <expat.h>
#include <zip.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: bench_floor_xlsx BOOK.xlsx [PART]\n");
        return 2;
    }
    const char* part = argc > 2 ? argv[2] : "xl/worksheets/sheet1.xml";
    int err = 0;
    zip_t* z = zip_open(argv[1], ZIP_RDONLY, &err);
    if (!z)
        return 1;
    zip_file_t* f = zip_fopen(z, part, 0);
    if (!f) {
        zip_close(z);
        return 1;
    }
    XML_Parser p = XML_ParserCreate(nullptr);
    std::vector<char> buf(1 << 16);
    zip_int64_t n;
    bool ok = true;
    while (ok && (n = zip_fread(f, buf.data(), buf.size())) > 0)
        ok = XML_Parse(p, buf.data(), static_cast<int>(n), 0) == XML_STATUS_OK;
    ok = ok && XML_Parse(p, nullptr, 0, 1) == XML_STATUS_OK;
    XML_ParserFree(p);
    zip_fclose(f);
    zip_close(z);
    return ok ? 0 : 1;
}
