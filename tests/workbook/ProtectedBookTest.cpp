// Password-protected books, of either format and whatever their extension, are refused as
// such: the user can do something about that.
#include "workbook/Book.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

std::string loadError(const std::string& name, BookKind kind) {
    Book book(kind);
    EXPECT_FALSE(book.load(std::string(FRUSTA_TEST_DATA_DIR) + "/workbook/corpus/" + name));
    EXPECT_EQ(book.sheetCount(), 0);
    return book.errorMessage();
}

TEST(ProtectedBook, IsRefusedAsPasswordProtected) {
    for (const BookKind kind : {BookKind::Xml, BookKind::Binary}) {
        // Excel's encrypted .xlsx: a compound file around the encrypted package.
        EXPECT_EQ(loadError("protected_passtika.xlsx", kind),
                  "the workbook is password-protected (encrypted); remove the password in Excel "
                  "and save it again");
        EXPECT_EQ(loadError("password.xls", kind),
                  "the workbook is password-protected; remove the password in Excel and save it "
                  "again");
    }
}

} // namespace
} // namespace frusta
