#pragma once
// The inverse of a square core that a simplex changes one exchange at a time:
// a column or a row replaced, or a row and a column added or removed. Each
// change costs size x size, where factoring anew costs size cubed; the owner
// takes it afresh from the matrix on a schedule, as rounding builds up.
//
// The matrix's rows and columns are numbered by the owner's lists; a removal
// moves the last row (column) into the removed one's place, as the owner's
// lists do.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

class CoreInverse {
public:
    // matrix is row-major, size x size; false when it is singular.
    bool Reset(const std::vector<double>& matrix, int32_t size);
    int32_t Size() const { return m_size; }

    // x with matrix x = b (b by row, x by column), in place.
    void Solve(std::vector<double>& b) const;
    // y with matrix' y = c (c by column, y by row), in place.
    void SolveTransposed(std::vector<double>& c) const;

    // Each change is false when its pivot is too small to trust; the inverse
    // is then unchanged and must be taken afresh.
    // Column `column` becomes a new one; d is the inverse times it (by
    // column), which a simplex has already as the entering column's rates.
    bool ReplaceColumn(int32_t column, const std::vector<double>& d);
    // Row `row` becomes v (by column).
    bool ReplaceRow(int32_t row, const std::vector<double>& v);
    // A last column, the inverse times it being d (by column), and a last
    // row v (by column) ending in corner.
    bool Grow(const std::vector<double>& d, const std::vector<double>& v, double corner);
    // Without row `row` and column `column`.
    bool Shrink(int32_t row, int32_t column);

private:
    // m_inverse's row c belongs to the matrix's column c, its column r to the
    // matrix's row r.
    double& At(int32_t c, int32_t r) { return m_inverse[Index(c, r)]; }
    double At(int32_t c, int32_t r) const { return m_inverse[Index(c, r)]; }
    size_t Index(int32_t c, int32_t r) const {
        return static_cast<size_t>(c) * static_cast<size_t>(m_size) + static_cast<size_t>(r);
    }
    std::vector<double> Times(const std::vector<double>& b) const;     // inverse b
    std::vector<double> RowTimes(const std::vector<double>& v) const;  // v' inverse
    void Resize(int32_t size);  // keeps the entries of the rows and columns both sizes share

    int32_t m_size = 0;
    std::vector<double> m_inverse;
};

}  // namespace korvel
