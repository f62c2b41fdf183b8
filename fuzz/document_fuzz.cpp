// libFuzzer target for the worksheet document reader, the one that Tavo and
// korvel-solve both load through. Besides not crashing,
// a document that loads must save to bytes that load to the same worksheet,
// and saving that again must give the same bytes.
#include "core/worksheet/DocumentFormat.h"

#include <cstdlib>

using namespace korvel::doc;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool SameWorksheet(const korvel::WorksheetTable& a, const korvel::WorksheetTable& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols() || a.minReturnText != b.minReturnText)
        return false;
    for (int32_t r = 0; r < a.Rows(); ++r)
        for (int32_t c = 0; c < a.Cols(); ++c)
            if (a.TextMatrix(r, c) != b.TextMatrix(r, c))
                return false;
    return true;
}

// The raw string reader on its own, as a streaming caller drives it.
void ReadAllStrings(const uint8_t* data, size_t size)
{
    DocumentReader in({data, size});
    std::string text;
    while (in.Remaining() > 0) {
        const size_t before = in.Remaining();
        if (!in.ReadString(text)) {
            Require(in.Remaining() == before);
            break;
        }
        Require(in.Remaining() < before);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadAllStrings(data, size);

    const LoadResult first = LoadDocument({data, size});
    Require(first.error == LoadError::None || first.error == LoadError::ShortFile
            || first.error == LoadError::CountsOutOfRange);
    // What a window takes of the result: never more cells than the worksheet has.
    const size_t cells = size_t(first.table.Rows() - 1) * size_t(first.table.Cols() - 1);
    Require(first.cellsRead <= cells);
    Require(first.headRead || first.cellsRead == 0);
    Require(first.error != LoadError::None || first.cellsRead == cells);
    if (first.error != LoadError::None)
        return 0;
    Require(CountsInRange(first.table.Rows(), first.table.Cols()));

    const std::vector<uint8_t> saved = SaveDocument(first.table);
    const LoadResult second = LoadDocument(saved);
    Require(second.error == LoadError::None);
    Require(SameWorksheet(first.table, second.table));
    Require(SaveDocument(second.table) == saved);
    return 0;
}
