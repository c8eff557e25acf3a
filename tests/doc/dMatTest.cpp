#include "doc/dMat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using frusta::dMat;
using frusta::MatrixError;

namespace {

// Runs `f` and returns the message of the matrix error it raised ("" when none).
template <class F> std::string errorOf(F f) {
    try {
        f();
    } catch (const MatrixError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(dMatLimits, TwentyThousandIsAllowedAndRowsAreCheckedFirst) {
    EXPECT_EQ(errorOf([] { dMat m(20000, 1); }), "");
    EXPECT_EQ(errorOf([] { dMat m(1, 20000); }), "");
    EXPECT_EQ(errorOf([] { dMat m(20001, 1); }), "nRows too high in dMat::dMat(r, c)");
    EXPECT_EQ(errorOf([] { dMat m(20001, 20001); }), "nRows too high in dMat::dMat(r, c)");
    EXPECT_EQ(errorOf([] { dMat m(1, 20001); }), "nCols too high in dMat::dMat(r, c)");
}

TEST(dMatAccess, RangeCheckedEveryWay) {
    dMat m(3, 2, 1.5);
    EXPECT_EQ(m(2, 1), 1.5);
    EXPECT_EQ(errorOf([&] { m(3, 0); }), "Index out of range");
    EXPECT_EQ(errorOf([&] { m(0, -1); }), "Index out of range");
    EXPECT_EQ(errorOf([&] { m(-1, 0); }), "Index out of range");
    EXPECT_EQ(errorOf([&] { m(0, 2); }), "Index out of range");
}

TEST(dMatMissing, ToleranceIsStrictOneMillionth) {
    dMat m(1, 4, -99.9);
    m(0, 1) = -99.9000005;
    m(0, 2) = -99.8999;
    m(0, 3) = -99.9 + 1e-6 * 1.01;
    EXPECT_TRUE(m.isMissing(0, 0));
    EXPECT_TRUE(m.isMissing(0, 1));
    EXPECT_FALSE(m.isMissing(0, 2));
    EXPECT_FALSE(m.isMissing(0, 3));
    EXPECT_EQ(m.missingValue(), -99.9);
}

TEST(dMatSharing, CopiesShareWithoutCopyOnWrite) {
    dMat a(2, 2);
    dMat s = a.sum(0);
    dMat copy = s;
    EXPECT_TRUE(copy.sharesWith(s));
    EXPECT_EQ(s.refCount(), 2);
    copy(1, 0) = 42.0;
    EXPECT_EQ(s(1, 0), 42.0);
    {
        dMat third(copy);
        EXPECT_EQ(s.refCount(), 3);
    }
    EXPECT_EQ(s.refCount(), 2);
    dMat other(1, 1);
    other = s;
    EXPECT_EQ(s.refCount(), 3);
    other = other; // self-assignment keeps the count
    EXPECT_EQ(s.refCount(), 3);
}

TEST(dMatReductions, CountMaxSum) {
    dMat col(3, 1);
    col(0, 0) = 0;
    col(1, 0) = -99.9;
    col(2, 0) = 2;
    EXPECT_EQ(col.count(1)(0, 0), 1.0);

    dMat nan(1, 2);
    nan(0, 0) = std::numeric_limits<double>::quiet_NaN();
    nan(0, 1) = 3;
    EXPECT_EQ(nan.count(0)(0, 0), 1.0);

    dMat empty(0, 3);
    dMat mx = empty.matmax(1);
    ASSERT_EQ(mx.nrow(), 1);
    ASSERT_EQ(mx.ncol(), 3);
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(mx(0, j), -1e30);

    dMat m(2, 3);
    m(0, 0) = 1;
    m(0, 1) = 5;
    m(1, 2) = -2;
    EXPECT_EQ(m.sum(0)(0, 0), 6.0);
    EXPECT_EQ(m.sum(0)(1, 0), -2.0);
    EXPECT_EQ(m.sum(1)(0, 1), 5.0);
    EXPECT_EQ(m.matmax(0)(1, 0), 0.0);
    EXPECT_EQ(m.sum(1).nrow(), 1);
    EXPECT_EQ(m.count(0).ncol(), 1);
}

TEST(dMatReductions, BadDirectionsCarryTheirMessages) {
    dMat m(1, 1);
    EXPECT_EQ(errorOf([&] { m.count(2); }), "Direction out of range in dMat::count(dir)");
    EXPECT_EQ(errorOf([&] { m.matmax(-1); }), "Direction out of range in dMat::matmax(dir)");
    EXPECT_EQ(errorOf([&] { m.sum(3); }), "Direction out of range in dMat::sum");
    EXPECT_EQ(errorOf([&] { m.countmaxn2(2); }), "Direction out of range in dMat::countmaxn2(dir)");
    EXPECT_EQ(errorOf([&] { m.merge(m, 2); }), "Direction out of range in merge");
    EXPECT_EQ(errorOf([&] { m.CopyNames(m, 0, 2); }), "Directions not recognised in CopyNames");
    EXPECT_EQ(errorOf([&] { m.CopyNames(m, -1, 0); }), "Directions not recognised in CopyNames");
}

TEST(dMatCountMaxN2, WorkedExamples) {
    dMat m(2, 2);
    m(0, 0) = 1;
    m(0, 1) = 0;
    m(1, 0) = 1;
    m(1, 1) = 4;
    dMat r = m.countmaxn2(1);
    ASSERT_EQ(r.nrow(), 2);
    ASSERT_EQ(r.ncol(), 3);
    EXPECT_EQ(r(0, 0), 2.0);
    EXPECT_EQ(r(0, 1), 1.0);
    EXPECT_EQ(r(0, 2), 2.0);
    EXPECT_EQ(r(1, 0), 1.0);
    EXPECT_EQ(r(1, 1), 4.0);
    EXPECT_EQ(r(1, 2), 1.0);

    dMat z(3, 1); // a column of zeros: the sum is 0, every quotient NaN, N2 = 0
    dMat rz = z.countmaxn2(1);
    EXPECT_EQ(rz(0, 0), 0.0);
    EXPECT_EQ(rz(0, 1), 0.0);
    EXPECT_EQ(rz(0, 2), 0.0);

    dMat rows = m.countmaxn2(0); // by rows: (1, 0) and (1, 4)
    ASSERT_EQ(rows.nrow(), 2);
    EXPECT_EQ(rows(0, 0), 1.0);
    EXPECT_EQ(rows(0, 1), 1.0);
    EXPECT_EQ(rows(0, 2), 1.0);
    EXPECT_EQ(rows(1, 0), 2.0);
    EXPECT_EQ(rows(1, 1), 4.0);
    EXPECT_NEAR(rows(1, 2), 1.0 / (0.04 + 0.64), 1e-12);
}

TEST(dMatMerge, LimitsAndConformability) {
    dMat a(15000, 2);
    dMat b(5000, 2);
    EXPECT_EQ(errorOf([&] { a.merge(b, 0); }), "");
    EXPECT_EQ(a.nrow(), 20000);
    dMat one(1, 2);
    EXPECT_EQ(errorOf([&] { a.merge(one, 0); }), "nRows too high in dMat::merge");
    dMat wide(1, 19999);
    EXPECT_EQ(errorOf([&] { wide.merge(dMat(1, 2), 1); }), "nRows too high in dMat::merge");
    dMat c(2, 3);
    EXPECT_EQ(errorOf([&] { c.merge(dMat(1, 2), 0); }),
              "Arrays are not conformable in function merge");
    EXPECT_EQ(errorOf([&] { c.merge(dMat(3, 1), 1); }),
              "Arrays are not conformable in function merge");
}

TEST(dMatMerge, OneColumnStaysOneBlock) {
    dMat a(3, 1);
    dMat b(2, 1);
    for (int i = 0; i < 3; ++i)
        a(i, 0) = i + 1;
    b(0, 0) = 4;
    b(1, 0) = 5;
    a.merge(b, 0);
    ASSERT_EQ(a.nrow(), 5);
    EXPECT_EQ(a.blockCount(), 1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a(i, 0), i + 1.0);
    // Values are contiguous in one block.
    EXPECT_EQ(&a(4, 0) - &a(0, 0), 4);

    dMat row(1, 3);
    EXPECT_EQ(row.blockCount(), 1);
    dMat t = a.transpose(); // 1 x 5: one row, one block
    EXPECT_EQ(t.blockCount(), 1);
    EXPECT_EQ(t(0, 3), 4.0);
    dMat back = t.transpose(); // 5 x 1: one block again
    EXPECT_EQ(back.blockCount(), 1);
    EXPECT_EQ(&back(4, 0) - &back(0, 0), 4);
}

TEST(dMatMerge, ByColumnsAndWithItself) {
    dMat a(2, 1);
    a(0, 0) = 1;
    a(1, 0) = 2;
    dMat b(2, 2, 7.0);
    a.merge(b, 1);
    ASSERT_EQ(a.ncol(), 3);
    EXPECT_EQ(a(1, 0), 2.0);
    EXPECT_EQ(a(1, 2), 7.0);
    EXPECT_EQ(a.blockCount(), 2);

    dMat s(2, 2, 3.0);
    s.merge(s, 0);
    ASSERT_EQ(s.nrow(), 4);
    EXPECT_EQ(s(3, 1), 3.0);
}

TEST(dMatLabels, MadeWithNumbersAndFlags) {
    dMat m(2, 3, 0.0, true);
    ASSERT_TRUE(m.hasLabels());
    EXPECT_EQ(m.rowNumbers(), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(m.colNumbers(), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(m.colFlags(), (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_EQ(m.colNames().size(), 3u);
    EXPECT_FALSE(dMat(1, 1).hasLabels());
}

TEST(dMatLabels, TransposeSwapsRowAndColumnLabels) {
    dMat m(2, 3, 0.0, true);
    m.rowNames() = {"r1", "r2"};
    m.colNames() = {"a", "b", "c"};
    m.colNames2() = {"a2", "b2", "c2"};
    m.colFlags() = {0, 5, 1};
    dMat t = m.transpose();
    ASSERT_TRUE(t.hasLabels());
    EXPECT_EQ(t.rowNames(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(t.rowNames2(), (std::vector<std::string>{"a2", "b2", "c2"}));
    EXPECT_EQ(t.colNames(), (std::vector<std::string>{"r1", "r2"}));
    EXPECT_EQ(t.colFlags(), (std::vector<uint32_t>{1, 1})); // columns from rows: flags 1
}

TEST(dMatLabels, CopyNamesChecksAndMasks) {
    dMat src(1, 4, 0.0, true);
    src.colNames() = {"a", "b", "c", "d"};
    src.colFlags() = {9, 8, 7, 6};
    dMat dst(1, 2, 0.0, true);
    EXPECT_EQ(errorOf([&] { dst.CopyNames(src, 1, 1); }), "nCols not equal in CopyNames");
    EXPECT_EQ(errorOf([&] { dst.CopyNames(src, 0, 0); }), "");
    EXPECT_EQ(errorOf([&] { dst.CopyNames(src, 0, 1); }), "nRow & nCol not equal in CopyNames");
    dMat tall(2, 1, 0.0, true);
    EXPECT_EQ(errorOf([&] { tall.CopyNames(src, 0, 0); }), "nRows not equal in CopyNames");
    EXPECT_EQ(errorOf([&] { tall.CopyNames(src, 1, 0); }), "");
    EXPECT_EQ(errorOf([&] { dst.CopyNames(src, 1, 0); }), "nCols & nRows not equal in CopyNames");

    std::vector<int> shortMask{0, 1};
    EXPECT_EQ(errorOf([&] { dst.CopyNames(src, 1, 1, &shortMask); }),
              "Index wrong length in CopyNames");
    std::vector<int> mask{1, 0, 1, 0}; // keep b and d
    dst.CopyNames(src, 1, 1, &mask);
    EXPECT_EQ(dst.colNames(), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(dst.colFlags(), (std::vector<uint32_t>{8, 6}));
    std::vector<int> keepAll{0, 0, 0, 0};
    EXPECT_EQ(errorOf([&] { dst.CopyNames(src, 1, 1, &keepAll); }), "Index out of range");
}

TEST(dMatLabels, MergeCarriesLabelsOfTheMergedDirection) {
    dMat a(1, 2, 0.0, true);
    a.colNames() = {"x", "y"};
    dMat b(1, 1, 0.0, true);
    b.colNames() = {"z"};
    b.colFlags() = {3};
    a.merge(b, 1);
    EXPECT_EQ(a.colNames(), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(a.colFlags(), (std::vector<uint32_t>{1, 1, 3}));
    a.merge(dMat(1, 3), 0); // other without labels: new row labels stay empty
    EXPECT_EQ(a.rowNames().size(), 2u);
    EXPECT_EQ(a.rowNames()[1], "");
}
