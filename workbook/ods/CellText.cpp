#include "workbook/ods/CellText.h"

namespace frusta::ods {

namespace {

bool isXmlSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

} // namespace

void CellText::clear() {
    text_.clear();
    paragraphs_ = 0;
    atStart_ = true;
    collapsed_ = false;
}

void CellText::beginParagraph() {
    if (paragraphs_++ > 0)
        text_ += '\n';
    atStart_ = true;
    collapsed_ = false;
}

void CellText::endParagraph() {
    collapsed_ = false;
}

void CellText::characters(std::string_view text) {
    for (const char ch : text) {
        if (!isXmlSpace(ch)) {
            text_ += ch;
            atStart_ = false;
            collapsed_ = false;
        } else if (!atStart_ && !collapsed_) {
            text_ += ' ';
            collapsed_ = true;
        }
    }
}

void CellText::spaces(std::int64_t count) {
    text_.append(static_cast<std::size_t>(count), ' ');
    atStart_ = false;
    collapsed_ = false;
}

void CellText::literal(char ch) {
    text_ += ch;
    atStart_ = false;
    collapsed_ = false;
}

} // namespace frusta::ods
