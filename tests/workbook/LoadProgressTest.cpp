// Following and stopping the reading of a workbook: the readers of both formats report a
// share that only grows and ends at 1, and stop with the cancelled reason, leaving the book
// empty, when the user asks before or during the reading.
#include "workbook/LoadProgress.h"
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

using namespace wbtest;

// A worksheet of `rows` x `cols` numbers, written in the format of `path`'s extension.
std::string writeGrid(const TempDir& dir, const std::string& name, int rows, int cols) {
    const std::string path = dir.file(name);
    auto book = name.ends_with(".xls") ? Book::createBinary() : Book::createXml();
    Sheet* sheet = book->addSheet("Counts");
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            sheet->writeNum(r, c, r * 1000 + c);
    if (!book->save(path))
        ADD_FAILURE() << book->errorMessage();
    return path;
}

class LoadProgressTest : public ::testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        // Enough records and bytes for many reports: 2,000 rows of 200 numbers.
        xls_ = writeGrid(*dir_, "grid.xls", 2000, 200);
        xlsx_ = writeGrid(*dir_, "grid.xlsx", 2000, 200);
    }
    static void TearDownTestSuite() { delete dir_; }
    static std::string path() { return std::string(GetParam()) == "xls" ? xls_ : xlsx_; }

    static TempDir* dir_;
    static std::string xls_, xlsx_;
};

TempDir* LoadProgressTest::dir_ = nullptr;
std::string LoadProgressTest::xls_;
std::string LoadProgressTest::xlsx_;

TEST_P(LoadProgressTest, TheShareGrowsToOne) {
    LoadProgress progress;
    std::vector<double> seen;
    progress.onReport = [&](double share) { seen.push_back(share); };
    Book book(BookKind::Xml);
    ASSERT_TRUE(book.load(path(), &progress)) << book.errorMessage();
    EXPECT_EQ(progress.fraction(), 1.0);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](double s) { return s > 0 && s < 1; }));
    EXPECT_EQ(book.getSheet(0)->readNum(1999, 199), 1999199.0);
    EXPECT_EQ(book.loadProgress(), nullptr); // followed only while it loads
}

TEST_P(LoadProgressTest, CancelledBeforeOrDuringTheReading) {
    for (const double at : {0.0, 0.3}) {
        LoadProgress progress;
        if (at == 0.0)
            progress.cancel();
        double stoppedAt = -1;
        progress.onReport = [&](double share) {
            if (share >= at && !progress.cancelled())
                progress.cancel();
            stoppedAt = std::max(stoppedAt, share);
        };
        Book book(BookKind::Binary);
        EXPECT_FALSE(book.load(path(), &progress)) << at;
        EXPECT_STREQ(book.errorMessage(), kLoadCancelled);
        EXPECT_EQ(book.sheetCount(), 0);
        EXPECT_LT(stoppedAt, 1.0) << "read to the end although cancelled at " << at;
    }
    // Without a cancel the same book reads as ever.
    Book book(BookKind::Binary);
    LoadProgress progress;
    EXPECT_TRUE(book.load(path(), &progress));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, LoadProgressTest, ::testing::Values("xls", "xlsx"));

} // namespace
} // namespace frusta
