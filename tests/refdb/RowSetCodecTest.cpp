// RowSets and name lists carried as bytes between processes: every value comes back as it
// went, and bytes that are cut, padded or lying are refused without a large allocation.
#include "refdb/RowSetCodec.h"
#include "refdb/AdoConstants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace frusta;

namespace {

Variant of(VarType vt, int64_t integer) {
    Variant v;
    v.vt = vt;
    v.integer = integer;
    return v;
}

RowSet everyKindOfValue() {
    Decimal d;
    EXPECT_TRUE(parseDecimal("-79228162514264337593543950.335", d));
    RowSet rs;
    rs.fields = {{"Key", ado::adInteger, 4, ado::adFldFixed},
                 {"Name", ado::adVarWChar, 255, ado::adFldIsNullable | ado::adFldMayBeNull},
                 {std::string("Odd\0Name \xC3\xA9", 11), ado::adLongVarBinary, 0x3FFFFFFF, -1}};
    rs.rows = {
        {Variant::fromI4(std::numeric_limits<int32_t>::min()), Variant::fromText("Achnanthes"),
         Variant::fromBytes({0, 255, 10, 13})},
        {Variant::fromI2(-32768), Variant::fromText(std::string("a\0b", 3)),
         Variant::fromBytes({})},
        {Variant::fromI8(std::numeric_limits<int64_t>::max()), Variant::fromText(""),
         Variant::null()},
        {Variant::fromUI1(255), Variant::fromR4(0.1f), Variant::fromR8(-0.0)},
        {Variant::fromBool(true), Variant::fromBool(false), Variant::fromDate(45000.75)},
        {Variant::fromCurrency(-123456789), Variant::fromDecimal(d), Variant::fromInt(-1)},
        {Variant(), of(VarType::UI4, 4294967295), of(VarType::I1, -128)},
        {of(VarType::UI2, 65535), of(VarType::UI8, -1), of(VarType::UInt, 7)},
    };
    return rs;
}

void expectSame(const RowSet& a, const RowSet& b) {
    ASSERT_EQ(a.fields.size(), b.fields.size());
    for (std::size_t f = 0; f < a.fields.size(); ++f) {
        EXPECT_EQ(a.fields[f].name, b.fields[f].name);
        EXPECT_EQ(a.fields[f].type, b.fields[f].type);
        EXPECT_EQ(a.fields[f].definedSize, b.fields[f].definedSize);
        EXPECT_EQ(a.fields[f].attributes, b.fields[f].attributes);
    }
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (std::size_t r = 0; r < a.rows.size(); ++r)
        EXPECT_TRUE(a.rows[r] == b.rows[r]) << "row " << r;
}

template <typename T> void put(std::string& bytes, std::size_t at, T value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

} // namespace

TEST(RowSetCodec, EveryValueComesBackAsItWent) {
    const RowSet original = everyKindOfValue();
    const RowSet back = decodeRowSet(encodeRowSet(original));
    expectSame(original, back);
    EXPECT_TRUE(std::signbit(back.rows[3][2].real)); // -0.0 keeps its sign
    EXPECT_EQ(back.rows[3][1].real, static_cast<double>(0.1f));

    expectSame(RowSet{}, decodeRowSet(encodeRowSet(RowSet{})));
    RowSet noRows;
    noRows.fields = original.fields;
    expectSame(noRows, decodeRowSet(encodeRowSet(noRows)));

    const std::vector<std::string> names = {"NBSMasterTaxonList_PhaseII", "", "Tabelle \xC3\xBC",
                                            std::string("x\0y", 3)};
    EXPECT_EQ(decodeNames(encodeNames(names)), names);
    EXPECT_TRUE(decodeNames(encodeNames({})).empty());
}

TEST(RowSetCodec, CutOrPaddedBytesAreRefused) {
    const std::string rows = encodeRowSet(everyKindOfValue());
    for (std::size_t n = 0; n < rows.size(); ++n)
        EXPECT_THROW(decodeRowSet(std::string_view(rows).substr(0, n)), RowSetDecodeError) << n;
    EXPECT_THROW(decodeRowSet(rows + '\0'), RowSetDecodeError);
    const std::string names = encodeNames({"CoC", "Boundaries"});
    for (std::size_t n = 0; n < names.size(); ++n)
        EXPECT_THROW(decodeNames(std::string_view(names).substr(0, n)), RowSetDecodeError) << n;
    // Each kind refuses the other.
    EXPECT_THROW(decodeNames(rows), RowSetDecodeError);
    EXPECT_THROW(decodeRowSet(names), RowSetDecodeError);
}

TEST(RowSetCodec, LyingCountsAndTypesAreRefused) {
    // tag (4), field count (8): no fields, then the row count.
    std::string empty = encodeRowSet(RowSet{});
    ASSERT_EQ(empty.size(), 20u);
    put<uint64_t>(empty, 12, kMaxRowSetValues + 1); // rows of nothing, too many of them
    EXPECT_THROW(decodeRowSet(empty), RowSetDecodeError);
    put<uint64_t>(empty, 12, kMaxRowSetValues);
    EXPECT_EQ(decodeRowSet(empty).rows.size(), kMaxRowSetValues);

    std::string fields = encodeRowSet(RowSet{{{"A", ado::adInteger, 4, 0}}, {}});
    put<uint64_t>(fields, 4, uint64_t{1} << 60); // more fields than bytes
    EXPECT_THROW(decodeRowSet(fields), RowSetDecodeError);

    RowSet one;
    one.fields = {{"A", ado::adInteger, 4, 0}};
    one.rows = {{Variant::fromI4(1)}};
    std::string rows = encodeRowSet(one);
    const std::size_t rowCountAt = 4 + 8 + (8 + 1) + 2 + 4 + 4;
    put<uint64_t>(rows, rowCountAt, uint64_t{1} << 40); // more rows than bytes
    EXPECT_THROW(decodeRowSet(rows), RowSetDecodeError);
    put<uint64_t>(rows, rowCountAt, 1);
    put<uint16_t>(rows, rowCountAt + 8, 99); // no such type
    EXPECT_THROW(decodeRowSet(rows), RowSetDecodeError);
    put<uint16_t>(rows, rowCountAt + 8, static_cast<uint16_t>(VarType::Bstr));
    put<uint64_t>(rows, rowCountAt + 10, ~uint64_t{0}); // a text longer than everything
    EXPECT_THROW(decodeRowSet(rows.substr(0, rowCountAt + 18)), RowSetDecodeError);

    std::string names = encodeNames({"A"});
    put<uint64_t>(names, 4, ~uint64_t{0});
    EXPECT_THROW(decodeNames(names), RowSetDecodeError);
}

TEST(RowSetCodec, RowSetsThatBreakTheirOwnRulesAreNotEncoded) {
    RowSet ragged;
    ragged.fields = {{"A", ado::adInteger, 4, 0}, {"B", ado::adInteger, 4, 0}};
    ragged.rows = {{Variant::fromI4(1), Variant::fromI4(2)}, {Variant::fromI4(3)}};
    EXPECT_THROW(encodeRowSet(ragged), std::invalid_argument);
    RowSet unknown;
    unknown.fields = {{"A", ado::adInteger, 4, 0}};
    unknown.rows = {{of(static_cast<VarType>(99), 1)}};
    EXPECT_THROW(encodeRowSet(unknown), std::invalid_argument);
}
