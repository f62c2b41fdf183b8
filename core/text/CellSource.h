#pragma once
// Read access to a worksheet laid out as the grid holds it: row 0 headers,
// column 0 row numbers, column 1 names, columns 2..Cols-1 the returns as typed.
#include <cstdint>
#include <string>

namespace korvel {

class CellSource {
public:
    virtual ~CellSource() = default;
    virtual int32_t Rows() const = 0;  // shares + 1
    virtual int32_t Cols() const = 0;  // periods + 2
    // A cell never written reads as "".
    virtual const std::string& TextMatrix(int32_t row, int32_t col) const = 0;
};

}  // namespace korvel
