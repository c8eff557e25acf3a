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

// Every value, row by row.
std::vector<double> values(const dMat& m) {
    std::vector<double> out;
    for (int i = 0; i < m.nrow(); ++i)
        for (int j = 0; j < m.ncol(); ++j)
            out.push_back(m(i, j));
    return out;
}

dMat of(int rows, int cols, const std::vector<double>& v) {
    dMat m(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            m(i, j) = v[i * cols + j];
    return m;
}

using V = std::vector<double>;

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
    EXPECT_EQ(values(of(3, 1, {0, -99.9, 2}).count(1)), V{1}); // neither zero nor missing
    EXPECT_EQ(values(of(1, 2, {std::numeric_limits<double>::quiet_NaN(), 3}).count(0)), V{1});
    EXPECT_EQ(values(dMat(0, 3).matmax(1)), (V{-1e30, -1e30, -1e30}));

    const dMat m = of(2, 3, {1, 5, 0, 0, 0, -2});
    EXPECT_EQ(values(m.sum(0)), (V{6, -2}));
    EXPECT_EQ(values(m.sum(1)), (V{1, 5, -2}));
    EXPECT_EQ(values(m.matmax(0)), (V{5, 0}));
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
    const dMat m = of(2, 2, {1, 0, 1, 4});
    // By columns: (1, 1) and (0, 4); one row of count, maximum and N2 per column.
    const dMat r = m.countmaxn2(1);
    ASSERT_EQ(r.ncol(), 3);
    EXPECT_EQ(values(r), (V{2, 1, 2, 1, 4, 1}));
    // A column of zeros: the sum is 0, every quotient NaN, N2 = 0.
    EXPECT_EQ(values(dMat(3, 1).countmaxn2(1)), (V{0, 0, 0}));
    // By rows: (1, 0) and (1, 4).
    ASSERT_EQ(m.countmaxn2(0).nrow(), 2);
    V byRows = values(m.countmaxn2(0));
    EXPECT_NEAR(byRows.back(), 1.0 / (0.04 + 0.64), 1e-12);
    byRows.pop_back();
    EXPECT_EQ(byRows, (V{1, 1, 1, 2, 4}));
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
    dMat a = of(3, 1, {1, 2, 3});
    a.merge(of(2, 1, {4, 5}), 0);
    EXPECT_EQ(values(a), (V{1, 2, 3, 4, 5}));
    EXPECT_EQ(a.blockCount(), 1);
    EXPECT_EQ(&a(4, 0) - &a(0, 0), 4); // contiguous in one block
    EXPECT_EQ(dMat(1, 3).blockCount(), 1);
    dMat t = a.transpose(); // 1 x 5: one row, one block
    EXPECT_EQ(t.blockCount(), 1);
    EXPECT_EQ(t(0, 3), 4.0);
    dMat back = t.transpose(); // 5 x 1: one block again
    EXPECT_EQ(back.blockCount(), 1);
    EXPECT_EQ(&back(4, 0) - &back(0, 0), 4);
}

TEST(dMatMerge, ByColumnsAndWithItself) {
    dMat a = of(2, 1, {1, 2});
    a.merge(dMat(2, 2, 7.0), 1);
    EXPECT_EQ(values(a), (V{1, 7, 7, 2, 7, 7}));
    EXPECT_EQ(a.blockCount(), 2);
    dMat s(2, 2, 3.0);
    s.merge(s, 0);
    EXPECT_EQ(values(s), V(8, 3.0));
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
    EXPECT_EQ(t.colNumbers(), (std::vector<uint32_t>{1, 2}));
    EXPECT_FALSE(dMat(1, 1).hasLabels());
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
