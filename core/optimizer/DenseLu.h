#pragma once
// A small square matrix factored with partial pivoting, for the solves a
// revised simplex makes with the dense core of its basis.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

class DenseLu {
public:
    // matrix is row-major, size x size; false when a pivot is zero.
    bool Factor(std::vector<double> matrix, int32_t size);
    // x with matrix x = b, in place.
    void Solve(std::vector<double>& b) const;
    // y with matrix' y = c, in place.
    void SolveTransposed(std::vector<double>& c) const;
    int32_t Size() const { return m_size; }

private:
    double& At(int32_t row, int32_t column) { return m_lu[Index(row, column)]; }
    double At(int32_t row, int32_t column) const { return m_lu[Index(row, column)]; }
    const double* Row(int32_t row) const { return &m_lu[Index(row, 0)]; }
    size_t Index(int32_t row, int32_t column) const {
        return static_cast<size_t>(row) * static_cast<size_t>(m_size) + static_cast<size_t>(column);
    }

    int32_t m_size = 0;
    std::vector<double> m_lu;            // L below the diagonal (unit), U on and above
    std::vector<int32_t> m_permutation;  // row i of the factors is row m_permutation[i] of the matrix
};

}  // namespace korvel
