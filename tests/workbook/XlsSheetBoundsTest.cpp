// Each worksheet is read only up to the data of the next sheet and never past the end of
// the stream, whatever the offsets of the other sheets say.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

using namespace wbtest;

TEST(XlsSheetBounds, AnOffsetPastTheStreamDoesNotStretchTheSheetBefore) {
    // A worksheet whose EOF record is lost, followed by a chart whose offset points far
    // past the stream: the worksheet runs on into the chart and the stream's padding, and
    // ends there as a worksheet cut short (the sanitizer build checks that nothing is read
    // beyond).
    Bytes s = makeStream({}, {{rec(0x0203, cell(0, 0).f64(1.5))}, {}}, {0, 2});
    const std::size_t chart = s[kBoundSheetBody[1]] | s[kBoundSheetBody[1] + 1] << 8;
    ASSERT_EQ(s[chart - 4], 0x0A); // the worksheet's EOF
    s[chart - 4] = 0xFF;
    s[chart - 3] = 0x0F;
    Book book(BookKind::Binary);
    std::string error;
    ASSERT_TRUE(loadStream(s, book, error)) << error;
    EXPECT_EQ(book.getSheet(0)->readNum(0, 0), 1.5);

    const uint32_t farAway = 0x7FFFFF00;
    std::memcpy(&s[kBoundSheetBody[1]], &farAway, 4);
    EXPECT_EQ(loadError(s), "the file is damaged: a worksheet is cut short");
}

} // namespace
} // namespace frusta
