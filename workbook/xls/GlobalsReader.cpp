#include "workbook/xls/GlobalsReader.h"

#include "workbook/Book.h"
#include "workbook/NumberFormat.h"
#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/RecordReader.h"

#include <algorithm>
#include <unordered_map>

namespace frusta::xls {

namespace {

const char* const kDamaged = "the file is damaged: ";

// Checks the BOF record that opens the stream; false with a reason for other versions.
bool checkBof(const Record& r, std::string& error) {
    if (r.type == rec::Bof2 || r.type == rec::Bof3 || r.type == rec::Bof4) {
        error = "the file is an Excel 2.x-4.0 workbook, which cannot be read; save it in "
                "Excel 97-2003 or a later format";
        return false;
    }
    if (r.type != rec::Bof || r.size < 4) {
        error = std::string(kDamaged) + "its workbook stream does not start with a BOF record";
        return false;
    }
    const uint16_t version = le16(r.data);
    if (version == rec::kBiff5) {
        error = "the file is an Excel 5.0/95 workbook, which cannot be read; save it in "
                "Excel 97-2003 or a later format";
        return false;
    }
    if (version != rec::kBiff8 || le16(r.data + 2) != rec::kGlobals) {
        error = "the file is not an Excel 97-2003 workbook (unknown BIFF version)";
        return false;
    }
    return true;
}

bool readSst(const Record& first, RecordReader& reader, const CharDecoder& decoder, Book& book,
             Globals& g, std::string& error) {
    ContinuedData data;
    data.load(first, reader);
    uint32_t total = 0, unique = 0;
    if (!data.readU32(total) || !data.readU32(unique)) {
        error = std::string(kDamaged) + "its shared string table is cut short";
        return false;
    }
    g.sstBase = static_cast<uint32_t>(book.stringCount());
    std::string text;
    uint32_t count = 0;
    // The declared count is not trusted: a table ends when its records do.
    while (count < unique && !data.atEnd()) {
        uint16_t cch;
        if (!data.readU16(cch))
            break;
        if (!data.readString(cch, true, decoder, text)) {
            error = std::string(kDamaged) + "a shared string runs past its table";
            return false;
        }
        book.addString(text);
        ++count;
    }
    g.sstCount = count;
    return true;
}

} // namespace

bool readGlobals(std::span<const uint8_t> stream, Book& book, Globals& g, std::string& error) {
    RecordReader reader(stream, 0);
    Record r;
    if (!reader.next(r)) {
        error = std::string(kDamaged) + "its workbook stream is empty or cut short";
        return false;
    }
    if (!checkBof(r, error))
        return false;
    CharDecoder decoder(g.codePage);
    std::vector<uint16_t> xfFormats;
    std::unordered_map<uint16_t, std::string> formatCodes;
    bool haveSst = false;
    std::string text;
    while (true) {
        if (!reader.next(r)) {
            error = std::string(kDamaged) + "its workbook globals are cut short";
            return false;
        }
        if (r.type == rec::Eof)
            break;
        switch (r.type) {
        case rec::FilePass:
            error = "the workbook is password-protected; remove the password in Excel and "
                    "save it again";
            return false;
        case rec::CodePage:
            if (r.size >= 2) {
                g.codePage = le16(r.data);
                decoder = CharDecoder(g.codePage);
            }
            break;
        case rec::DateMode:
            if (r.size >= 2)
                g.date1904 = le16(r.data) != 0;
            break;
        case rec::Format:
            if (r.size >= 2 && readPlainString(r.data + 2, r.size - 2, false, decoder, text))
                formatCodes[le16(r.data)] = text;
            break;
        case rec::Xf:
            if (r.size >= 4)
                xfFormats.push_back(le16(r.data + 2));
            break;
        case rec::BoundSheet:
            if (r.size < 6 || !readPlainString(r.data + 6, r.size - 6, true, decoder, text)) {
                error = std::string(kDamaged) + "a worksheet entry is invalid";
                return false;
            }
            g.sheets.push_back({text, le32(r.data), r.data[5]});
            break;
        case rec::Sst:
            // Only the first table counts; a second one would renumber the strings.
            if (!haveSst && !readSst(r, reader, decoder, book, g, error))
                return false;
            haveSst = true;
            break;
        default:
            break;
        }
    }
    g.end = reader.position();
    g.xfIsDate.resize(xfFormats.size());
    for (std::size_t i = 0; i < xfFormats.size(); ++i) {
        const auto it = formatCodes.find(xfFormats[i]);
        // A FORMAT record states the code shown; otherwise the built-in id decides.
        g.xfIsDate[i] = it != formatCodes.end() ? isDateFormat(-1, it->second)
                                                : isDateFormat(xfFormats[i], std::string());
    }
    return true;
}

} // namespace frusta::xls
