#include "doc/WorksheetProposal.h"

#include "workbook/Book.h"

#include <cctype>
#include <climits>

namespace frusta {

int proposeFirstRow(const Sheet& sheet, int current) {
    const int rows = sheet.lastRow() < kProposalRows ? sheet.lastRow() : kProposalRows;
    for (int r = 0; r < rows; ++r) {
        const char* text = sheet.readStr(r, 1);
        if (text && *text)
            return r + 1;
    }
    return current;
}

std::string columnLetters(int col) {
    std::string out;
    while (col > 0) {
        const int rem = (col - 1) % 26;
        out.insert(out.begin(), static_cast<char>('A' + rem));
        col = (col - 1) / 26;
    }
    return out;
}

int parseColumn(const std::string& text) {
    if (text.empty())
        return 0;
    long value = 0;
    if (std::isdigit(static_cast<unsigned char>(text[0]))) {
        for (char ch : text) {
            if (!std::isdigit(static_cast<unsigned char>(ch)) || value > 1000000)
                return 0;
            value = value * 10 + (ch - '0');
        }
        return static_cast<int>(value);
    }
    for (char ch : text) {
        if (!std::isalpha(static_cast<unsigned char>(ch)) || value > 1000000)
            return 0;
        value = value * 26 + (std::toupper(static_cast<unsigned char>(ch)) - 'A' + 1);
    }
    return static_cast<int>(value);
}

} // namespace frusta
