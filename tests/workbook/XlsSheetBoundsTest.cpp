// Each worksheet is read only up to the data of the next sheet and never past the end of
// the stream, whatever the offsets of the other sheets say.
#include "XlsTestSupport.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

using namespace xlstest;

// Stream offsets of the BOUNDSHEET bodies of the globals substream.
std::vector<std::size_t> boundSheetBodies(const Bytes& s) {
    std::vector<std::size_t> bodies;
    for (std::size_t pos = 0; pos + 4 <= s.size();) {
        const unsigned type = s[pos] | s[pos + 1] << 8;
        const std::size_t size = s[pos + 2] | s[pos + 3] << 8;
        if (type == 0x0085)
            bodies.push_back(pos + 4);
        if (type == 0x000A)
            break;
        pos += 4 + size;
    }
    return bodies;
}

void putU32(Bytes& s, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(XlsSheetBounds, AnOffsetPastTheStreamDoesNotStretchTheSheetBefore) {
    // A worksheet whose EOF record is lost, followed by a chart whose offset points far
    // past the stream: the worksheet runs on into the chart and the stream's padding, and
    // ends there as a worksheet cut short (the sanitizer build checks that nothing is read
    // beyond).
    Bytes s = makeStream({}, {{rec(0x0203, cell(0, 0).f64(1.5))}, {}}, {0, 2});
    const auto bodies = boundSheetBodies(s);
    ASSERT_EQ(bodies.size(), 2u);
    const std::size_t chart = s[bodies[1]] | s[bodies[1] + 1] << 8;
    ASSERT_EQ(s[chart - 4], 0x0A); // the worksheet's EOF
    s[chart - 4] = 0xFF;
    s[chart - 3] = 0x0F;
    Book book(BookKind::Binary);
    std::string error;
    ASSERT_TRUE(loadStream(s, book, error)) << error;
    EXPECT_EQ(book.getSheet(0)->readNum(0, 0), 1.5);

    putU32(s, bodies[1], 0x7FFFFF00);
    EXPECT_FALSE(loadStream(s, book, error));
    EXPECT_EQ(error, "the file is damaged: a worksheet is cut short");
}

} // namespace
} // namespace frusta
