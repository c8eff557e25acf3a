#pragma once
// dMat: the matrix of doubles used for counts, sample results and site results.
// A dMat is a handle onto a shared, reference-counted representation: copies share the
// data and a value written through one handle is seen through every copy.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace frusta {

// Every matrix failure raises this; what() is the message text.
class MatrixError : public std::runtime_error {
public:
    explicit MatrixError(const char* message) : std::runtime_error(message) {}
};

class dMat {
public:
    static constexpr int kMaxRows = 20000;
    static constexpr int kMaxCols = 20000;
    static constexpr double kMissing = -99.9;

    dMat(int rows, int cols, double fill = 0.0, bool withLabels = false);
    dMat(const dMat& other) noexcept;
    dMat& operator=(const dMat& other) noexcept;
    ~dMat();

    double& operator()(int row, int col);
    double operator()(int row, int col) const;

    int nrow() const { return rep_->nRows; }
    int ncol() const { return rep_->nCols; }
    double missingValue() const { return rep_->missingValue; }
    bool isMissing(int row, int col) const;

    dMat count(int dir) const;
    dMat matmax(int dir) const;
    dMat sum(int dir) const;
    dMat countmaxn2(int dir) const;
    dMat transpose() const;
    dMat& merge(const dMat& other, int dir);
    void CopyNames(const dMat& src, int toDir, int fromDir, const std::vector<int>* mask = nullptr);

    // Labels (present only for matrices made with labels).
    bool hasLabels() const { return rep_->hasLabels; }
    std::vector<std::string>& colNames() { return rep_->colNames; }
    std::vector<std::string>& colNames2() { return rep_->colNames2; }
    std::vector<std::string>& rowNames() { return rep_->rowNames; }
    std::vector<std::string>& rowNames2() { return rep_->rowNames2; }
    std::vector<uint32_t>& colNumbers() { return rep_->colNumbers; }
    std::vector<uint32_t>& colFlags() { return rep_->colFlags; }
    std::vector<uint32_t>& rowNumbers() { return rep_->rowNumbers; }

    // Introspection of the shared representation and its storage blocks.
    int refCount() const { return rep_->refCount; }
    bool sharesWith(const dMat& other) const { return rep_ == other.rep_; }
    int blockCount() const { return static_cast<int>(rep_->blocks.size()); }

private:
    struct Rep {
        std::vector<double*> rowTable;
        int nRows = 0;
        int nCols = 0;
        int refCount = 1;
        double missingValue = kMissing;
        bool hasLabels = false;
        std::vector<std::string> colNames2, colNames, rowNames, rowNames2;
        std::vector<uint32_t> colNumbers, colFlags, rowNumbers;
        // Owned storage: one block per row, or a single block for a one-column matrix.
        std::vector<std::unique_ptr<double[]>> blocks;
    };

    void release() noexcept;
    void allocateStorage(int rows, int cols, double fill, const char* oomMessage);
    void makeLabels();
    void checkDir(int dir, const char* message) const;
    void mergeRows(const dMat& other);
    void mergeCols(const dMat& other);
    void mergeLabels(const dMat& other, int dir);

    Rep* rep_;
};

} // namespace frusta
