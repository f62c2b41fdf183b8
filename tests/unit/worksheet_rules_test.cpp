#include "core/worksheet/WorksheetRules.h"
#include "core/worksheet/WorksheetTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using korvel::WorksheetTable;

namespace {

// Share i (row i) named "Si" with returns "i.1", "i.2", ...
WorksheetTable Numbered(int32_t shares, int32_t periods) {
    WorksheetTable t(shares + 1, periods + 2);
    for (int32_t row = 1; row <= shares; ++row) {
        t.SetTextMatrix(row, 1, "S" + std::to_string(row));
        for (int32_t col = 2; col < t.Cols(); ++col)
            t.SetTextMatrix(row, col, std::to_string(row) + "." + std::to_string(col - 1));
    }
    return t;
}

std::vector<std::string> Row(const WorksheetTable& t, int32_t row) {
    std::vector<std::string> texts;
    for (int32_t col = 0; col < t.Cols(); ++col)
        texts.push_back(t.TextMatrix(row, col));
    return texts;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(WorksheetRules, HeadersAndLimitsAreTheDocumentsOwn) {
    EXPECT_EQ(korvel::ColumnHeader(0), "No");
    EXPECT_EQ(korvel::ColumnHeader(1), "Name");
    EXPECT_EQ(korvel::ColumnHeader(2), "R1");
    EXPECT_EQ(korvel::ColumnHeader(11), "R10");
    WorksheetTable t(3, 12);
    t.SetTextMatrix(0, 5, "typed over");
    t.SetTextMatrix(2, 0, "x");
    korvel::LabelWorksheet(t);
    EXPECT_EQ(Row(t, 0), (Texts{"No", "Name", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "R10"}));
    EXPECT_EQ(t.TextMatrix(2, 0), "2");
    // Ranges are half-open: the bounds given are the only ones touched.
    t.SetTextMatrix(2, 0, "kept");
    t.SetTextMatrix(0, 3, "kept");
    korvel::NumberRows(t, 1, 2);
    korvel::LabelColumns(t, 3, 3);
    EXPECT_EQ(t.TextMatrix(2, 0), "kept");
    EXPECT_EQ(t.TextMatrix(0, 3), "kept");
}

TEST(WorksheetRules, InsertedShareOpensAnEmptyRowAndMovesTheRestDown) {
    WorksheetTable t = Numbered(3, 3);
    t.Resize(5, 5);  // the count has grown by one
    korvel::OpenShareRow(t, 2);
    EXPECT_EQ(Row(t, 1), (Texts{"1", "S1", "1.1", "1.2", "1.3"}));
    EXPECT_EQ(Row(t, 2), (Texts{"2", "", "", "", ""}));
    EXPECT_EQ(Row(t, 3), (Texts{"3", "S2", "2.1", "2.2", "2.3"}));
    EXPECT_EQ(Row(t, 4), (Texts{"4", "S3", "3.1", "3.2", "3.3"}));
}

TEST(WorksheetRules, InsertAtTheLastRowOnlyMovesThatShare) {
    WorksheetTable t = Numbered(2, 3);
    t.Resize(4, 5);
    korvel::OpenShareRow(t, 2);
    EXPECT_EQ(Row(t, 2), (Texts{"2", "", "", "", ""}));
    EXPECT_EQ(Row(t, 3), (Texts{"3", "S2", "2.1", "2.2", "2.3"}));
}

TEST(WorksheetRules, DeletedShareIsClosedOverAndTheLastRowLeftForTheCaller) {
    WorksheetTable t = Numbered(4, 3);
    korvel::CloseShareRow(t, 2);
    EXPECT_EQ(Row(t, 1), (Texts{"1", "S1", "1.1", "1.2", "1.3"}));
    EXPECT_EQ(Row(t, 2), (Texts{"2", "S3", "3.1", "3.2", "3.3"}));
    EXPECT_EQ(Row(t, 3), (Texts{"3", "S4", "4.1", "4.2", "4.3"}));
    EXPECT_EQ(Row(t, 4), (Texts{"4", "S4", "4.1", "4.2", "4.3"}));

    korvel::ClearShareRow(t, 4);
    EXPECT_EQ(Row(t, 4), (Texts{"4", "", "", "", ""}));
}

TEST(WorksheetRules, DeletePeriodShiftsReturnsLeftAndEmptiesTheLastColumn) {
    WorksheetTable t = Numbered(2, 4);
    korvel::DeleteFirstPeriod(t);
    EXPECT_EQ(Row(t, 0), (Texts{"No", "Name", "R1", "R2", "R3", "R4"}));
    EXPECT_EQ(Row(t, 1), (Texts{"1", "S1", "1.2", "1.3", "1.4", ""}));
    EXPECT_EQ(Row(t, 2), (Texts{"2", "S2", "2.2", "2.3", "2.4", ""}));
}
