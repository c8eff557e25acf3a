#pragma once
// The text of a cell as OpenDocument writes it: paragraphs joined by line breaks. Within a
// paragraph a run of white space in the XML counts as one space and white space at its start
// is dropped (LibreOffice writes leading spaces and runs of spaces as <text:s/>, a single
// space anywhere else as it is), while <text:s/>, <text:tab/> and <text:line-break/> stand
// for the spaces, tab and line break that they name.
#include <cstdint>
#include <string>
#include <string_view>

namespace frusta::ods {

class CellText {
public:
    void clear();
    void beginParagraph();
    void endParagraph();
    void characters(std::string_view text);
    void spaces(std::int64_t count);
    void tab() { literal('\t'); }
    void lineBreak() { literal('\n'); }

    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size(); }
    const std::string& text() const { return text_; }
    std::string take() { return std::move(text_); }

private:
    void literal(char ch);

    std::string text_;
    int paragraphs_ = 0;
    bool atStart_ = true;    // nothing yet in this paragraph
    bool collapsed_ = false; // the last character is a space standing for XML white space
};

} // namespace frusta::ods
