// libFuzzer target for the .xls reader: any input must end in a loaded book or a failure
// with a reason, without crashing, hanging or leaking.
#include "workbook/Book.h"
#include "workbook/xls/XlsCodec.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    frusta::Book book(frusta::BookKind::Binary);
    std::string error;
    const bool ok = frusta::xls::loadMemory(std::span<const uint8_t>(data, size), book, error);
    if (!ok && error.empty())
        __builtin_trap(); // every failure must say why
    if (ok) {
        // Touch every cell so that the reader's data is fully checked by the sanitizers.
        std::size_t cells = 0;
        for (int i = 0; i < book.sheetCount(); ++i)
            for (const auto& row : book.getSheet(i)->rows())
                for (const auto& cell : row)
                    if (cell.type == static_cast<uint8_t>(frusta::CellType::String))
                        cells += book.getSheet(i)->text(cell.text).size();
        (void)cells;
    }
    return 0;
}
