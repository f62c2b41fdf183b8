#pragma once
// Read and write access to a worksheet laid out as the grid holds it (see
// CellSource): what the editing rules work on, in a window or without one.
#include "core/text/CellSource.h"

#include <string>

namespace korvel {

class WorksheetCells : public CellSource {
public:
    // A write outside Rows() x Cols() is dropped.
    virtual void SetTextMatrix(int32_t row, int32_t col, std::string text) = 0;
};

}  // namespace korvel
