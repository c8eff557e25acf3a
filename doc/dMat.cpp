#include "doc/dMat.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace frusta {

namespace {

std::unique_ptr<double[]> allocBlock(std::size_t n, const char* oomMessage) {
    double* p = new (std::nothrow) double[n == 0 ? 1 : n];
    if (!p)
        throw MatrixError(oomMessage);
    return std::unique_ptr<double[]>(p);
}

} // namespace

dMat::dMat(int rows, int cols, double fill, bool withLabels) : rep_(nullptr) {
    if (rows > kMaxRows)
        throw MatrixError("nRows too high in dMat::dMat(r, c)");
    if (cols > kMaxCols)
        throw MatrixError("nCols too high in dMat::dMat(r, c)");
    if (rows < 0 || cols < 0)
        throw MatrixError("Index out of range");
    rep_ = new (std::nothrow) Rep;
    if (!rep_)
        throw MatrixError("Error: Out of memory in dMat");
    try {
        allocateStorage(rows, cols, fill, "Out of memory in dMat");
        if (withLabels)
            makeLabels();
    } catch (const std::bad_alloc&) {
        delete rep_;
        throw MatrixError("Out of memory in dMat");
    } catch (...) {
        delete rep_;
        throw;
    }
}

dMat::dMat(const dMat& other) noexcept : rep_(other.rep_) {
    ++rep_->refCount;
}

dMat& dMat::operator=(const dMat& other) noexcept {
    if (rep_ != other.rep_) {
        ++other.rep_->refCount;
        release();
        rep_ = other.rep_;
    }
    return *this;
}

dMat::~dMat() {
    release();
}

void dMat::release() noexcept {
    if (rep_ && --rep_->refCount == 0)
        delete rep_;
    rep_ = nullptr;
}

void dMat::allocateStorage(int rows, int cols, double fill, const char* oomMessage) {
    Rep& r = *rep_;
    r.nRows = rows;
    r.nCols = cols;
    r.rowTable.assign(static_cast<std::size_t>(rows), nullptr);
    if (cols == 1) {
        r.blocks.push_back(allocBlock(static_cast<std::size_t>(rows), oomMessage));
        double* base = r.blocks.back().get();
        for (int i = 0; i < rows; ++i) {
            base[i] = fill;
            r.rowTable[i] = base + i;
        }
        return;
    }
    r.blocks.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        r.blocks.push_back(allocBlock(static_cast<std::size_t>(cols), oomMessage));
        double* row = r.blocks.back().get();
        for (int j = 0; j < cols; ++j)
            row[j] = fill;
        r.rowTable[i] = row;
    }
}

void dMat::makeLabels() {
    Rep& r = *rep_;
    r.hasLabels = true;
    r.colNames2.assign(r.nCols, std::string());
    r.colNames.assign(r.nCols, std::string());
    r.rowNames.assign(r.nRows, std::string());
    r.rowNames2.assign(r.nRows, std::string());
    r.colNumbers.resize(r.nCols);
    r.colFlags.assign(r.nCols, 1u);
    r.rowNumbers.resize(r.nRows);
    for (int j = 0; j < r.nCols; ++j)
        r.colNumbers[j] = static_cast<uint32_t>(j + 1);
    for (int i = 0; i < r.nRows; ++i)
        r.rowNumbers[i] = static_cast<uint32_t>(i + 1);
}

double& dMat::operator()(int row, int col) {
    if (row < 0 || row >= rep_->nRows || col < 0 || col >= rep_->nCols)
        throw MatrixError("Index out of range");
    return rep_->rowTable[row][col];
}

double dMat::operator()(int row, int col) const {
    if (row < 0 || row >= rep_->nRows || col < 0 || col >= rep_->nCols)
        throw MatrixError("Index out of range");
    return rep_->rowTable[row][col];
}

bool dMat::isMissing(int row, int col) const {
    return std::fabs((*this)(row, col) - rep_->missingValue) < 1e-6;
}

void dMat::checkDir(int dir, const char* message) const {
    if (dir != 0 && dir != 1)
        throw MatrixError(message);
}

dMat dMat::count(int dir) const {
    checkDir(dir, "Direction out of range in dMat::count(dir)");
    const Rep& r = *rep_;
    dMat out = dir == 0 ? dMat(r.nRows, 1) : dMat(1, r.nCols);
    for (int i = 0; i < r.nRows; ++i)
        for (int j = 0; j < r.nCols; ++j)
            if (r.rowTable[i][j] > 0.0)
                out.rep_->rowTable[dir == 0 ? i : 0][dir == 0 ? 0 : j] += 1.0;
    return out;
}

dMat dMat::matmax(int dir) const {
    checkDir(dir, "Direction out of range in dMat::matmax(dir)");
    const Rep& r = *rep_;
    dMat out = dir == 0 ? dMat(r.nRows, 1, -1e30) : dMat(1, r.nCols, -1e30);
    for (int i = 0; i < r.nRows; ++i)
        for (int j = 0; j < r.nCols; ++j) {
            double& m = out.rep_->rowTable[dir == 0 ? i : 0][dir == 0 ? 0 : j];
            if (r.rowTable[i][j] > m)
                m = r.rowTable[i][j];
        }
    return out;
}

dMat dMat::sum(int dir) const {
    checkDir(dir, "Direction out of range in dMat::sum");
    const Rep& r = *rep_;
    dMat out = dir == 0 ? dMat(r.nRows, 1) : dMat(1, r.nCols);
    for (int i = 0; i < r.nRows; ++i)
        for (int j = 0; j < r.nCols; ++j)
            out.rep_->rowTable[dir == 0 ? i : 0][dir == 0 ? 0 : j] += r.rowTable[i][j];
    return out;
}

dMat dMat::countmaxn2(int dir) const {
    checkDir(dir, "Direction out of range in dMat::countmaxn2(dir)");
    const Rep& r = *rep_;
    const int n = dir == 0 ? r.nRows : r.nCols;
    const int len = dir == 0 ? r.nCols : r.nRows;
    auto at = [&](int k, int i) { return dir == 0 ? r.rowTable[k][i] : r.rowTable[i][k]; };
    dMat sums = sum(dir);
    dMat n2(n, 1);
    for (int k = 0; k < n; ++k) {
        const double s = dir == 0 ? sums(k, 0) : sums(0, k);
        double acc = 0.0;
        for (int i = 0; i < len; ++i) {
            const double q = at(k, i) / s;
            acc += q * q;
        }
        n2(k, 0) = acc > 1e-6 ? 1.0 / acc : 0.0; // NaN (s == 0) fails the test
    }
    dMat out = dir == 0 ? count(0) : count(1).transpose();
    out.merge(dir == 0 ? matmax(0) : matmax(1).transpose(), 1);
    out.merge(n2, 1);
    return out;
}

dMat dMat::transpose() const {
    const Rep& r = *rep_;
    dMat out(r.nCols, r.nRows, 0.0, r.hasLabels);
    for (int i = 0; i < r.nRows; ++i)
        for (int j = 0; j < r.nCols; ++j)
            out.rep_->rowTable[j][i] = r.rowTable[i][j];
    if (r.hasLabels) {
        out.CopyNames(*this, 1, 0);
        out.CopyNames(*this, 0, 1);
    }
    return out;
}

dMat& dMat::merge(const dMat& other, int dir) {
    checkDir(dir, "Direction out of range in merge");
    const Rep& o = *other.rep_;
    Rep& r = *rep_;
    if ((dir == 0 && r.nRows + o.nRows > kMaxRows) || (dir == 1 && r.nCols + o.nCols > kMaxCols))
        throw MatrixError("nRows too high in dMat::merge");
    if ((dir == 0 && r.nCols != o.nCols) || (dir == 1 && r.nRows != o.nRows))
        throw MatrixError("Arrays are not conformable in function merge");
    try {
        const dMat keep(other); // merging a matrix with itself must read the old values
        if (dir == 0)
            mergeRows(keep);
        else
            mergeCols(keep);
        mergeLabels(keep, dir);
    } catch (const std::bad_alloc&) {
        throw MatrixError("Out of memory in merge(dMat &)");
    }
    return *this;
}

void dMat::mergeRows(const dMat& other) {
    Rep& r = *rep_;
    const Rep& o = *other.rep_;
    const int total = r.nRows + o.nRows;
    const char* oom = "Out of memory in merge(dMat &)";
    std::vector<double*> table(static_cast<std::size_t>(total), nullptr);
    if (r.nCols == 1) {
        auto block = allocBlock(static_cast<std::size_t>(total), oom);
        for (int i = 0; i < r.nRows; ++i)
            block[i] = *r.rowTable[i];
        for (int i = 0; i < o.nRows; ++i)
            block[r.nRows + i] = *o.rowTable[i];
        for (int i = 0; i < total; ++i)
            table[i] = block.get() + i;
        r.blocks.clear();
        r.blocks.push_back(std::move(block));
    } else {
        std::vector<std::unique_ptr<double[]>> added;
        added.reserve(static_cast<std::size_t>(o.nRows));
        for (int i = 0; i < o.nRows; ++i) {
            added.push_back(allocBlock(static_cast<std::size_t>(o.nCols), oom));
            std::copy(o.rowTable[i], o.rowTable[i] + o.nCols, added.back().get());
        }
        std::copy(r.rowTable.begin(), r.rowTable.end(), table.begin());
        for (int i = 0; i < o.nRows; ++i)
            table[r.nRows + i] = added[i].get();
        r.blocks.reserve(r.blocks.size() + added.size());
        for (auto& b : added)
            r.blocks.push_back(std::move(b));
    }
    r.rowTable.swap(table);
}

void dMat::mergeCols(const dMat& other) {
    Rep& r = *rep_;
    const Rep& o = *other.rep_;
    const int cols = r.nCols + o.nCols;
    const char* oom = "Out of memory in merge(dMat &)";
    std::vector<std::unique_ptr<double[]>> blocks;
    std::vector<double*> table(static_cast<std::size_t>(r.nRows), nullptr);
    blocks.reserve(static_cast<std::size_t>(r.nRows));
    for (int i = 0; i < r.nRows; ++i) {
        blocks.push_back(allocBlock(static_cast<std::size_t>(cols), oom));
        double* row = blocks.back().get();
        std::copy(r.rowTable[i], r.rowTable[i] + r.nCols, row);
        std::copy(o.rowTable[i], o.rowTable[i] + o.nCols, row + r.nCols);
        table[i] = row;
    }
    r.blocks.swap(blocks);
    r.rowTable.swap(table);
}

void dMat::mergeLabels(const dMat& other, int dir) {
    Rep& r = *rep_;
    const Rep& o = *other.rep_;
    if (dir == 0) {
        if (r.hasLabels) {
            const std::size_t n = static_cast<std::size_t>(r.nRows + o.nRows);
            r.rowNames.resize(n);
            r.rowNames2.resize(n);
            r.rowNumbers.resize(n, 0u);
            if (o.hasLabels)
                for (int i = 0; i < o.nRows; ++i) {
                    r.rowNames[r.nRows + i] = o.rowNames[i];
                    r.rowNames2[r.nRows + i] = o.rowNames2[i];
                    r.rowNumbers[r.nRows + i] = o.rowNumbers[i];
                }
        }
        r.nRows += o.nRows;
        return;
    }
    if (r.hasLabels) {
        const std::size_t n = static_cast<std::size_t>(r.nCols + o.nCols);
        r.colNames.resize(n);
        r.colNames2.resize(n);
        r.colNumbers.resize(n, 0u);
        r.colFlags.resize(n, 0u);
        if (o.hasLabels)
            for (int j = 0; j < o.nCols; ++j) {
                r.colNames[r.nCols + j] = o.colNames[j];
                r.colNames2[r.nCols + j] = o.colNames2[j];
                r.colNumbers[r.nCols + j] = o.colNumbers[j];
                r.colFlags[r.nCols + j] = o.colFlags[j];
            }
    }
    r.nCols += o.nCols;
}

void dMat::CopyNames(const dMat& src, int toDir, int fromDir, const std::vector<int>* mask) {
    if ((toDir != 0 && toDir != 1) || (fromDir != 0 && fromDir != 1))
        throw MatrixError("Directions not recognised in CopyNames");
    Rep& d = *rep_;
    const Rep& s = *src.rep_;
    const int srcCount = fromDir == 0 ? s.nRows : s.nCols;
    const int dstCount = toDir == 0 ? d.nRows : d.nCols;
    if (!mask) {
        if (dstCount != srcCount) {
            static const char* const messages[2][2] = {
                {"nRows not equal in CopyNames", "nRow & nCol not equal in CopyNames"},
                {"nCols & nRows not equal in CopyNames", "nCols not equal in CopyNames"}};
            throw MatrixError(messages[toDir][fromDir]);
        }
    } else if (static_cast<int>(mask->size()) != srcCount) {
        throw MatrixError("Index wrong length in CopyNames");
    }
    if (!d.hasLabels)
        makeLabels();
    // A source without labels contributes empty texts and zero numbers.
    auto text = [&](const std::vector<std::string>& v, int i) {
        return s.hasLabels ? v[i] : std::string();
    };
    auto number = [&](const std::vector<uint32_t>& v, int i) { return s.hasLabels ? v[i] : 0u; };
    int k = 0;
    for (int i = 0; i < srcCount; ++i) {
        if (mask && (*mask)[i] != 0)
            continue;
        if (k >= dstCount)
            throw MatrixError("Index out of range");
        const std::string name = text(fromDir == 0 ? s.rowNames : s.colNames, i);
        const std::string name2 = text(fromDir == 0 ? s.rowNames2 : s.colNames2, i);
        const uint32_t num = number(fromDir == 0 ? s.rowNumbers : s.colNumbers, i);
        if (toDir == 0) {
            d.rowNames[k] = name;
            d.rowNames2[k] = name2;
            d.rowNumbers[k] = num;
        } else {
            d.colNames[k] = name;
            d.colNames2[k] = name2;
            d.colNumbers[k] = num;
            d.colFlags[k] = fromDir == 1 ? number(s.colFlags, i) : 1u;
        }
        ++k;
    }
}

} // namespace frusta
