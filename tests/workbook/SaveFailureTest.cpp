// Saving either kind of book where the system refuses the file: the message says why, and
// an existing file is left as it was, with no temporary file beside it.
#include "XlsxTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using frusta::Book;
using frusta::BookKind;
using namespace xlsxtest;

namespace {

std::unique_ptr<Book> tableBook(BookKind kind) {
    auto book = std::make_unique<Book>(kind);
    frusta::Sheet* sheet = book->addSheet("S");
    for (int r = 0; r < 3000; ++r)
        for (int c = 0; c < 20; ++c)
            sheet->writeNum(r, c, r * 0.25 + c);
    return book;
}

std::vector<std::string> filesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    return names;
}

// Saves with the size of written files limited to `limit` bytes, as a nearly full disk
// would limit them.
bool saveWithSizeLimit(Book& book, const std::string& path, rlim_t limit) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = book.save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return saved;
}

TEST(SaveFailure, AnXlsCutShortLeavesTheExistingFileAndSaysWhy) {
    TempDir dir;
    const std::string path = dir.file("results.xls");
    writeFile(path, "previous contents");
    auto book = tableBook(BookKind::Binary);
    EXPECT_FALSE(saveWithSizeLimit(*book, path, 20000));
    EXPECT_EQ(std::string(book->errorMessage()),
              "can't save '" + path +
                  "': the file is larger than the disk or the system's file size limit allows");
    EXPECT_EQ(readFile(path), "previous contents");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"results.xls"});
    ASSERT_TRUE(book->save(path)) << book->errorMessage();
    auto back = Book::createBinary();
    ASSERT_TRUE(back->load(path)) << back->errorMessage();
    EXPECT_EQ(back->getSheet(0)->readNum(2999, 19), 2999 * 0.25 + 19);
}

TEST(SaveFailure, AFolderWhereNoFileMayBeMadeIsPermissionDenied) {
    // sysfs refuses new files even to root, for whom permission bits do not count.
    if (!fs::is_directory("/sys/kernel"))
        GTEST_SKIP() << "no /sys";
    for (const BookKind kind : {BookKind::Binary, BookKind::Xml}) {
        auto book = tableBook(kind);
        const std::string path =
            kind == BookKind::Binary ? "/sys/kernel/results.xls" : "/sys/kernel/results.xlsx";
        EXPECT_FALSE(book->save(path));
        EXPECT_EQ(std::string(book->errorMessage()),
                  "can't save '" + path + "': permission denied");
        EXPECT_FALSE(fs::exists(path));
    }
}

} // namespace
