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

// The BIFF version of a BOF record as xlrd tells it: BIFF5 and BIFF7 both give 5; 0 when
// unknown. Some writers put a BIFF2-4 version into the BIFF5-8 record type.
int bofVersion(const Record& r) {
    const uint16_t version = le16(r.data);
    switch (r.type) {
    case rec::Bof:
        switch (version) {
        case rec::kBiff8:
            return 8;
        case rec::kBiff5:
            return 5;
        case 0x0000:
        case 0x0007:
        case 0x0200:
            return 2;
        case 0x0300:
            return 3;
        case 0x0400:
            return 4;
        default:
            return 0;
        }
    case rec::Bof4:
        return 4;
    case rec::Bof3:
        return 3;
    case rec::Bof2:
        return 2;
    default:
        return 0;
    }
}

// Checks the BOF record that opens the stream and sets the version and form of the book;
// false with a reason for streams that hold no workbook that can be read.
bool checkBof(const Record& r, Globals& g, std::string& error) {
    if (!isBofRecord(r.type) || r.size < 4) {
        error = std::string(kDamaged) + "its workbook stream does not start with a BOF record";
        return false;
    }
    const int biff = bofVersion(r);
    const uint16_t type = le16(r.data + 2);
    if (biff == 0) {
        error = "the file is an Excel workbook of an unknown version (unknown BIFF version)";
        return false;
    }
    g.biff = biff;
    if (biff >= 5) {
        if (type == rec::kGlobals4W) {
            error = "the file is an Excel workspace, which holds no cells; open the workbooks "
                    "it names instead";
            return false;
        }
        if (type != rec::kGlobals) {
            error = std::string(kDamaged) + "its workbook stream does not start with the "
                                            "workbook globals";
            return false;
        }
        g.codePage = biff == 8 ? 1200 : 1252;
        return true;
    }
    g.codePage = 1252;
    if (biff == 4 && type == rec::kGlobals4W) {
        g.workbook4W = true;
        return true;
    }
    if (type == rec::kWorksheet) {
        g.worksheetOnly = true;
        return true;
    }
    error = "the file is an Excel 2.x-4.0 chart or macro sheet, which holds no worksheet";
    return false;
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

// The globals of the BIFF4 workbook form: each SHEETHDR record gives the size and name of
// the worksheet substream that follows it, inside the globals.
bool readGlobals4W(RecordReader& reader, std::span<const uint8_t> stream, Globals& g,
                   std::string& error) {
    ByteTextDecoder bytes(g.codePage);
    std::string text;
    Record r;
    while (true) {
        if (!reader.next(r)) {
            error = std::string(kDamaged) + "its workbook globals are cut short";
            return false;
        }
        switch (r.type) {
        case rec::Eof:
            g.end = reader.position();
            return true;
        case rec::FilePass:
            error = "the workbook is password-protected; remove the password in Excel and "
                    "save it again";
            return false;
        case rec::CodePage:
            if (r.size >= 2) {
                g.codePage = le16(r.data);
                bytes = ByteTextDecoder(g.codePage);
            }
            break;
        case rec::DateMode:
            if (r.size >= 2)
                g.date1904 = le16(r.data) != 0;
            break;
        case rec::SheetHdr: {
            if (r.size < 5 || !readByteString(r.data + 4, r.size - 4u, 1, bytes, text)) {
                error = std::string(kDamaged) + "a worksheet entry is invalid";
                return false;
            }
            const std::size_t start = reader.position();
            const std::size_t end = std::min<std::size_t>(start + le32(r.data), stream.size());
            if (g.sheets.size() >= 65536) {
                error = std::string(kDamaged) + "it lists too many sheets";
                return false;
            }
            g.sheets.push_back({text, static_cast<uint32_t>(start), 0, end});
            reader.seek(end);
            break;
        }
        default:
            break;
        }
    }
}

} // namespace

bool isBofRecord(uint16_t type) {
    return type == rec::Bof || type == rec::Bof4 || type == rec::Bof3 || type == rec::Bof2;
}

bool readByteString(const uint8_t* p, std::size_t n, std::size_t countSize,
                    const ByteTextDecoder& decoder, std::string& out, std::size_t* used) {
    out.clear();
    if (n < countSize)
        return false;
    const std::size_t count = countSize == 1 ? p[0] : le16(p);
    if (countSize + count > n)
        return false;
    decoder.append(p + countSize, count, out);
    if (used)
        *used = countSize + count;
    return true;
}

void DateFormats::addFormat(uint16_t index, std::string code) {
    codes_[index] = std::move(code);
    cache_.clear();
}

void DateFormats::addNextFormat(std::string code) {
    addFormat(nextIndex_++, std::move(code));
}

void DateFormats::addXf(uint16_t formatIndex) {
    if (xfFormats_.size() < 65536)
        xfFormats_.push_back(formatIndex);
}

bool DateFormats::formatIsDate(uint16_t formatIndex) const {
    const auto it = codes_.find(formatIndex);
    // A FORMAT record states the code shown; otherwise the built-in id decides.
    if (it != codes_.end())
        return isDateFormat(-1, it->second);
    return builtins_ && isDateFormat(formatIndex, std::string());
}

bool DateFormats::xfIsDate(uint16_t xf) const {
    if (xf >= xfFormats_.size())
        return false;
    if (cache_.size() != xfFormats_.size())
        cache_.assign(xfFormats_.size(), 0);
    if (cache_[xf] == 0)
        cache_[xf] = formatIsDate(xfFormats_[xf]) ? 2 : 1;
    return cache_[xf] == 2;
}

bool readGlobals(std::span<const uint8_t> stream, Book& book, Globals& g, std::string& error) {
    RecordReader reader(stream, 0);
    Record r;
    if (!reader.next(r)) {
        error = std::string(kDamaged) + "its workbook stream is empty or cut short";
        return false;
    }
    if (!checkBof(r, g, error))
        return false;
    if (g.worksheetOnly) {
        g.formats.setBuiltins(false);
        g.sheets.push_back({"Sheet 1", 0, 0, stream.size()});
        g.end = 0;
        return true;
    }
    if (g.workbook4W) {
        g.formats.setBuiltins(false);
        return readGlobals4W(reader, stream, g, error);
    }
    const bool unicode = g.biff == 8;
    CharDecoder decoder(g.codePage);
    ByteTextDecoder bytes(g.codePage);
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
                bytes = ByteTextDecoder(g.codePage);
            }
            break;
        case rec::DateMode:
            if (r.size >= 2)
                g.date1904 = le16(r.data) != 0;
            break;
        case rec::Format:
            if (r.size >= 2 &&
                (unicode ? readPlainString(r.data + 2, r.size - 2u, false, decoder, text)
                         : readByteString(r.data + 2, r.size - 2u, 1, bytes, text)))
                g.formats.addFormat(le16(r.data), text);
            break;
        case rec::Xf:
            if (r.size >= 4)
                g.formats.addXf(le16(r.data + 2));
            break;
        case rec::BoundSheet:
            if (r.size < 6 ||
                !(unicode ? readPlainString(r.data + 6, r.size - 6u, true, decoder, text)
                          : readByteString(r.data + 6, r.size - 6u, 1, bytes, text))) {
                error = std::string(kDamaged) + "a worksheet entry is invalid";
                return false;
            }
            g.sheets.push_back({text, le32(r.data), r.data[5], 0});
            break;
        case rec::Sst:
            // Only the first table counts; a second one would renumber the strings.
            // BIFF5 has none: its cells hold their texts.
            if (unicode && !haveSst && !readSst(r, reader, decoder, book, g, error))
                return false;
            haveSst = true;
            break;
        default:
            break;
        }
    }
    g.end = reader.position();
    return true;
}

} // namespace frusta::xls
