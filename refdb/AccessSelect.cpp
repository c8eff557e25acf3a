#include "refdb/AccessSelect.h"

#include "refdb/AdoConstants.h"
#include "refdb/ComError.h"
#include "refdb/VariantConvert.h"

#include <glib.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <strings.h>

namespace frusta {

namespace {

const char kSupported[] =
    "this provider answers only a table name or Select * from T [where Col = value "
    "[and Col = value ...]] [order by Col [asc|desc], ...]";

enum class TokenKind { Word, Name, Text, Number, Symbol, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
};

[[noreturn]] void unsupported(const std::string& source, const std::string& detail) {
    throw ComError(hr::DB_E_ERRORSINCOMMAND, source,
                   "Unsupported statement (" + detail + "): " + kSupported + ".");
}

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

class Lexer {
public:
    Lexer(const std::string& text, const std::string& source) : s_(text), source_(source) {}

    std::vector<Token> tokens() {
        std::vector<Token> out;
        for (;;) {
            while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
                ++i_;
            if (i_ >= s_.size())
                break;
            out.push_back(next());
        }
        out.push_back({TokenKind::End, {}});
        return out;
    }

private:
    Token next() {
        const char c = s_[i_];
        if (c == '[') {
            const auto close = s_.find(']', i_ + 1);
            if (close == std::string::npos)
                unsupported(source_, "a [name] is not closed");
            Token t{TokenKind::Name, s_.substr(i_ + 1, close - i_ - 1)};
            i_ = close + 1;
            return t;
        }
        if (c == '\'' || c == '"')
            return quoted(c);
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.')
            return number();
        if (isWordChar(c)) {
            const auto start = i_;
            while (i_ < s_.size() && isWordChar(s_[i_]))
                ++i_;
            return {TokenKind::Word, s_.substr(start, i_ - start)};
        }
        if (c == '*' || c == '=' || c == ',' || c == ';') {
            ++i_;
            return {TokenKind::Symbol, std::string(1, c)};
        }
        unsupported(source_, std::string("unexpected character '") + c + "'");
    }

    Token quoted(char quote) {
        std::string value;
        for (++i_; i_ < s_.size(); ++i_) {
            if (s_[i_] == quote) {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == quote) {
                    value += quote;
                    ++i_;
                    continue;
                }
                ++i_;
                return {TokenKind::Text, value};
            }
            value += s_[i_];
        }
        unsupported(source_, "a text value is not closed");
    }

    Token number() {
        const auto start = i_;
        if (s_[i_] == '-')
            ++i_;
        while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) ||
                                  s_[i_] == '.' || s_[i_] == 'e' || s_[i_] == 'E'))
            ++i_;
        return {TokenKind::Number, s_.substr(start, i_ - start)};
    }

    const std::string& s_;
    const std::string& source_;
    std::size_t i_ = 0;
};

class Parser {
public:
    Parser(std::vector<Token> tokens, const std::string& source)
        : t_(std::move(tokens)), source_(source) {}

    SelectStatement statement() {
        SelectStatement st;
        expectKeyword("select");
        expectSymbol("*");
        expectKeyword("from");
        st.table = name("a table name");
        if (acceptKeyword("where")) {
            do
                st.where.push_back(condition());
            while (acceptKeyword("and"));
        }
        if (acceptKeyword("order")) {
            expectKeyword("by");
            do
                st.orderBy.push_back(sortKey());
            while (acceptSymbol(","));
        }
        acceptSymbol(";");
        if (peek().kind != TokenKind::End)
            unsupported(source_, "unexpected '" + peek().text + "'");
        return st;
    }

private:
    const Token& peek() const { return t_[pos_]; }

    bool isKeyword(const char* word) const {
        return peek().kind == TokenKind::Word && strcasecmp(peek().text.c_str(), word) == 0;
    }
    bool acceptKeyword(const char* word) {
        if (!isKeyword(word))
            return false;
        ++pos_;
        return true;
    }
    void expectKeyword(const char* word) {
        if (!acceptKeyword(word))
            unsupported(source_, std::string("expected ") + word);
    }
    bool acceptSymbol(const char* symbol) {
        if (peek().kind != TokenKind::Symbol || peek().text != symbol)
            return false;
        ++pos_;
        return true;
    }
    void expectSymbol(const char* symbol) {
        if (!acceptSymbol(symbol))
            unsupported(source_, std::string("expected ") + symbol);
    }
    std::string name(const char* what) {
        if (peek().kind != TokenKind::Word && peek().kind != TokenKind::Name)
            unsupported(source_, std::string("expected ") + what);
        return t_[pos_++].text;
    }

    SelectCondition condition() {
        SelectCondition c;
        c.column = name("a field name");
        expectSymbol("=");
        const Token& v = peek();
        if (v.kind == TokenKind::Text) {
            c.value = Variant::fromText(v.text);
        } else if (v.kind == TokenKind::Number) {
            double d = 0;
            const auto* end = v.text.data() + v.text.size();
            const auto r = std::from_chars(v.text.data(), end, d);
            if (r.ec != std::errc() || r.ptr != end)
                unsupported(source_, "malformed number '" + v.text + "'");
            c.value = Variant::fromR8(d);
        } else if (isKeyword("true") || isKeyword("yes")) {
            c.value = Variant::fromR8(-1);
        } else if (isKeyword("false") || isKeyword("no")) {
            c.value = Variant::fromR8(0);
        } else {
            unsupported(source_, "expected a value after =");
        }
        ++pos_;
        return c;
    }

    SortKey sortKey() {
        SortKey k;
        k.column = name("a field name");
        if (acceptKeyword("desc"))
            k.descending = true;
        else
            acceptKeyword("asc");
        return k;
    }

    std::vector<Token> t_;
    const std::string& source_;
    std::size_t pos_ = 0;
};

bool isTextType(int16_t type) {
    return type == ado::adVarWChar || type == ado::adLongVarWChar || type == ado::adWChar ||
           type == ado::adBSTR || type == ado::adGUID;
}

bool isNumericType(int16_t type) {
    switch (type) {
    case ado::adSmallInt:
    case ado::adInteger:
    case ado::adSingle:
    case ado::adDouble:
    case ado::adCurrency:
    case ado::adDate:
    case ado::adBoolean:
    case ado::adUnsignedTinyInt:
    case ado::adNumeric:
    case ado::adBigInt:
        return true;
    default:
        return false;
    }
}

double numericValue(const Variant& v) {
    switch (v.vt) {
    case VarType::R4:
    case VarType::R8:
    case VarType::Date:
        return v.real;
    case VarType::Cy:
        return static_cast<double>(v.integer) / 10000.0;
    case VarType::Decimal:
        return decimalToDouble(v.decimal);
    default:
        return static_cast<double>(v.integer);
    }
}

std::string folded(const std::string& s) {
    gchar* f = g_utf8_casefold(s.c_str(), static_cast<gssize>(s.size()));
    std::string out = f ? f : s;
    g_free(f);
    return out;
}

int fieldIndex(const RowSet& rows, const std::string& name, const std::string& table,
               const std::string& source) {
    for (std::size_t i = 0; i < rows.fields.size(); ++i)
        if (folded(rows.fields[i].name) == folded(name))
            return static_cast<int>(i);
    throw ComError(hr::DB_E_PARAMNOTOPTIONAL, source,
                   "No value given for one or more required parameters: the table '" + table +
                       "' has no field '" + name + "'.");
}

// -1, 0 or 1 as a sorts before, with or after b; Nulls first.
int compareValues(const Variant& a, const Variant& b, bool text) {
    if (a.isNull() || b.isNull())
        return static_cast<int>(!a.isNull()) - static_cast<int>(!b.isNull());
    if (text) {
        const int c = folded(a.text).compare(folded(b.text));
        return (c > 0) - (c < 0);
    }
    const double x = numericValue(a), y = numericValue(b);
    return (x > y) - (x < y);
}

} // namespace

std::optional<std::string> bareTableName(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = text.find_last_not_of(" \t\r\n");
    const std::string t = text.substr(first, last - first + 1);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']' && t.find(']') == t.size() - 1)
        return t.substr(1, t.size() - 2);
    if (std::all_of(t.begin(), t.end(), [](char c) { return isWordChar(c); }))
        return t;
    return std::nullopt;
}

SelectStatement parseSelect(const std::string& text, const std::string& source) {
    Lexer lexer(text, source);
    return Parser(lexer.tokens(), source).statement();
}

void applySelect(const SelectStatement& st, RowSet& rows, const std::string& source) {
    for (const auto& cond : st.where) {
        const int col = fieldIndex(rows, cond.column, st.table, source);
        const int16_t type = rows.fields[static_cast<std::size_t>(col)].type;
        const bool textValue = cond.value.vt == VarType::Bstr;
        if (textValue ? !isTextType(type) : !isNumericType(type))
            throw ComError(hr::DB_E_CANTCONVERTVALUE, source,
                           "Data type mismatch in criteria expression: field '" + cond.column +
                               "'.");
        const std::string wanted = textValue ? folded(cond.value.text) : std::string();
        std::erase_if(rows.rows, [&](const std::vector<Variant>& row) {
            const Variant& v = row[static_cast<std::size_t>(col)];
            if (v.isNull())
                return true;
            return textValue ? folded(v.text) != wanted : numericValue(v) != cond.value.real;
        });
    }
    if (st.orderBy.empty())
        return;
    struct Key {
        std::size_t col;
        bool text;
        bool descending;
    };
    std::vector<Key> keys;
    for (const auto& k : st.orderBy) {
        const auto col = static_cast<std::size_t>(fieldIndex(rows, k.column, st.table, source));
        keys.push_back({col, isTextType(rows.fields[col].type), k.descending});
    }
    std::stable_sort(rows.rows.begin(), rows.rows.end(),
                     [&](const std::vector<Variant>& a, const std::vector<Variant>& b) {
                         for (const auto& k : keys) {
                             const int c = compareValues(a[k.col], b[k.col], k.text);
                             if (c != 0)
                                 return k.descending ? c > 0 : c < 0;
                         }
                         return false;
                     });
}

} // namespace frusta
