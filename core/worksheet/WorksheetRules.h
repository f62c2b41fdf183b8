#pragma once
// The worksheet's editing rules, the same for the form and for any program
// without windows: its limits, its header labels, and how shares and periods
// move when one is inserted or deleted. Column 0 holds the row numbers and
// row 0 the headers; neither ever moves with the data.
#include "core/worksheet/WorksheetCells.h"

#include <cstdint>
#include <string>

namespace korvel {

inline constexpr int32_t kMinShares = 1, kMaxShares = 1000;
inline constexpr int32_t kMinPeriods = 3, kMaxPeriods = 10;
inline constexpr int32_t kNameCol = 1, kFirstPeriodCol = 2;
// The most characters a cell's editor and the Min Return box take.
inline constexpr int32_t kMaxCellChars = 127, kMaxMinReturnChars = 20;

// "No" and "Name" over columns 0 and 1, "R1", "R2" ... over the periods.
std::string ColumnHeader(int32_t col);
// Headers of columns [fromCol, toCol) and row numbers of rows [fromRow, toRow).
void LabelColumns(WorksheetCells& cells, int32_t fromCol, int32_t toCol);
void NumberRows(WorksheetCells& cells, int32_t fromRow, int32_t toRow);
// Every header and row number of the worksheet.
void LabelWorksheet(WorksheetCells& cells);

// The name and returns of a share row become empty.
void ClearShareRow(WorksheetCells& cells, int32_t row);
// Once the worksheet has grown by one row: the shares from row on move one
// row down and row is left empty for the new share.
void OpenShareRow(WorksheetCells& cells, int32_t row);
// The shares after row move one row up over it. The last row keeps a copy of
// the one above it; the caller shrinks the worksheet by one row.
void CloseShareRow(WorksheetCells& cells, int32_t row);
// The first period's returns go, the later ones move one column left and the
// last period's column is left empty; headers and counts stay.
void DeleteFirstPeriod(WorksheetCells& cells);

}  // namespace korvel
