#include "core/worksheet/DocumentFormat.h"

namespace korvel::doc {

LoadResult LoadDocument(std::span<const uint8_t> bytes)
{
    LoadResult result;
    DocumentReader in(bytes);
    int32_t rows = 0, cols = 0;
    std::string minReturn;
    if (!in.ReadInt32(rows) || !in.ReadInt32(cols) || !in.ReadString(minReturn)) {
        result.error = LoadError::ShortFile;
        return result;
    }
    result.headRead = true;
    // Out-of-range counts leave the reset worksheet, Min Return included.
    if (!CountsInRange(rows, cols)) {
        result.error = LoadError::CountsOutOfRange;
        return result;
    }
    WorksheetTable& table = result.table;
    table.Resize(rows, cols);
    table.minReturnText = std::move(minReturn);
    std::string text;
    for (int32_t r = 1; r < rows; ++r) {
        for (int32_t c = 1; c < cols; ++c) {
            if (!in.ReadString(text)) {
                result.error = LoadError::ShortFile;
                return result;
            }
            table.SetTextMatrix(r, c, std::move(text));
            ++result.cellsRead;
        }
    }
    return result;
}

namespace {

size_t EstimatedSize(const WorksheetTable& table)
{
    size_t size = 8 + 5 + table.minReturnText.size();
    for (int32_t r = 1; r < table.Rows(); ++r)
        for (int32_t c = 1; c < table.Cols(); ++c)
            size += 1 + table.TextMatrix(r, c).size();
    return size;
}

}  // namespace

std::vector<uint8_t> SaveDocument(const WorksheetTable& table)
{
    DocumentWriter out;
    out.Reserve(EstimatedSize(table));
    out.WriteInt32(table.Rows());
    out.WriteInt32(table.Cols());
    out.WriteString(table.minReturnText);
    for (int32_t r = 1; r < table.Rows(); ++r)
        for (int32_t c = 1; c < table.Cols(); ++c)
            out.WriteString(table.TextMatrix(r, c));
    return out.TakeBytes();
}

}  // namespace korvel::doc
