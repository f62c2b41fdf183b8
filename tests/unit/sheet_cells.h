#pragma once
// A worksheet's names and returns as one text, for comparing whole sheets.
#include "core/worksheet/WorksheetTable.h"

#include <string>

namespace korvel::testing {

// Row by row, "|" between cells.
inline std::string Cells(const WorksheetTable& table) {
    std::string text;
    for (int32_t r = 1; r < table.Rows(); ++r) {
        for (int32_t c = 1; c < table.Cols(); ++c)
            text += (c > 1 ? "|" : "") + table.TextMatrix(r, c);
        text += "\n";
    }
    return text;
}

}  // namespace korvel::testing
