#include "core/worksheet/WorksheetTable.h"

#include <gtest/gtest.h>

using korvel::WorksheetTable;

TEST(WorksheetTable, ResetStateHasOneShareThreePeriodsAndHeaders) {
    WorksheetTable t;
    EXPECT_EQ(t.Rows(), 2);
    EXPECT_EQ(t.Cols(), 5);
    EXPECT_EQ(t.TextMatrix(0, 0), "No");
    EXPECT_EQ(t.TextMatrix(0, 1), "Name");
    EXPECT_EQ(t.TextMatrix(0, 2), "R1");
    EXPECT_EQ(t.TextMatrix(0, 4), "R3");
    EXPECT_EQ(t.TextMatrix(1, 0), "1");
    for (int c = 1; c < 5; ++c)
        EXPECT_EQ(t.TextMatrix(1, c), "");
    EXPECT_EQ(t.minReturnText, "");
}

TEST(WorksheetTable, ResizeKeepsInsideDropsOutsideAndLabelsNewParts) {
    WorksheetTable t(4, 6);
    t.SetTextMatrix(1, 1, "A");
    t.SetTextMatrix(3, 5, "corner");
    t.SetTextMatrix(2, 2, "2.5");

    t.Resize(3, 5);  // drops row 3 and column 5
    EXPECT_EQ(t.TextMatrix(1, 1), "A");
    EXPECT_EQ(t.TextMatrix(2, 2), "2.5");

    t.Resize(5, 7);  // grows back: dropped texts stay gone
    EXPECT_EQ(t.TextMatrix(3, 5), "");
    EXPECT_EQ(t.TextMatrix(1, 1), "A");
    EXPECT_EQ(t.TextMatrix(2, 2), "2.5");
    EXPECT_EQ(t.TextMatrix(4, 0), "4");
    EXPECT_EQ(t.TextMatrix(0, 6), "R5");
}

TEST(WorksheetTable, ResizeWithSameColumnCountKeepsCells) {
    WorksheetTable t(3, 5);
    t.SetTextMatrix(2, 3, "x");
    t.Resize(1001, 5);
    EXPECT_EQ(t.TextMatrix(2, 3), "x");
    EXPECT_EQ(t.TextMatrix(1000, 0), "1000");
    EXPECT_EQ(t.TextMatrix(1000, 4), "");
}

TEST(WorksheetTable, CellsOutsideReadEmptyAndIgnoreWrites) {
    WorksheetTable t;
    t.SetTextMatrix(2, 0, "x");
    t.SetTextMatrix(-1, 0, "x");
    t.SetTextMatrix(0, 5, "x");
    EXPECT_EQ(t.TextMatrix(2, 0), "");
    EXPECT_EQ(t.TextMatrix(-1, 0), "");
    EXPECT_EQ(t.TextMatrix(0, 5), "");
    EXPECT_EQ(t.Rows(), 2);

    WorksheetTable empty(-3, 0);
    EXPECT_EQ(empty.Rows(), 0);
    EXPECT_EQ(empty.TextMatrix(0, 0), "");
}
