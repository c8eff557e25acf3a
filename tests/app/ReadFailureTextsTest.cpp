// What "Error reading file" says for the reasons the workbook readers give: damaged files get
// the advice in a user's words with the reason as details, the others their reason.
#include "app/ShellTexts.h"
#include "workbook/Book.h"

#include <gtest/gtest.h>

#include <string>

namespace frusta {
namespace {

std::string readerReason(const std::string& file) {
    Book book(BookKind::Binary);
    EXPECT_FALSE(book.load(std::string(FRUSTA_TEST_DATA_DIR) + "/workbook/" + file)) << file;
    return book.errorMessage();
}

TEST(ReadFailureTexts, DamagedWorkbooksGetAdviceOthersTheirReason) {
    const struct {
        std::string file;
        bool damaged;
    } cases[] = {
        {"corpus/clusterfuzz-testcase-minimized-POIHSSFFuzzer-6137883240824832.xls", true},
        {"corpus/clusterfuzz-testcase-minimized-POIHSSFFuzzer-6537773940867072.xls", true},
        {"corpus/clusterfuzz-testcase-minimized-POIXSSFFuzzer-5089447305609216.xlsx", true},
        {"corpus/password.xls", false},
        {"corpus/protected_passtika.xlsx", false},
        {"../access/jet3_types.mdb", false}, // no workbook at all
        {"missing.xlsx", false},
    };
    for (const auto& c : cases) {
        const std::string reason = readerReason(c.file);
        const ReadFailureTexts texts = readFailureTexts(reason);
        if (c.damaged) {
            EXPECT_EQ(texts.informative, "The workbook is damaged. Open it in your spreadsheet "
                                         "program and save it again, or use a backup.")
                << reason;
            EXPECT_EQ(texts.details, reason);
        } else {
            EXPECT_EQ(texts.informative, reason);
            EXPECT_EQ(texts.details, "");
        }
    }
    // The xlsx readers' words for broken XML and cells.
    EXPECT_EQ(readFailureTexts("the part 'xl/worksheets/sheet1.xml' is not well-formed XML "
                               "(line 2: mismatched tag)")
                  .informative,
              kDamagedWorkbookAdvice);
    EXPECT_EQ(readFailureTexts("").informative, "");
}

} // namespace
} // namespace frusta
