#include "core/grid/GridModel.h"

#include <gtest/gtest.h>

using namespace korvel::grid;

TEST(GridModel, ResizeKeepsCellsInsideAndEmptiesThoseThatCameBack) {
    GridModel m(4, 4);
    m.SetText(1, 1, "a");
    m.SetText(3, 3, "corner");
    m.SetColor(3, 3, 0x123456);
    m.SetRows(3);
    m.SetCols(3);
    EXPECT_EQ(m.Text(1, 1), "a");
    EXPECT_EQ(m.Text(3, 3), "");  // outside reads empty
    m.SetRows(4);
    m.SetCols(4);
    EXPECT_EQ(m.Text(3, 3), "");
    EXPECT_EQ(m.Color(3, 3), kWhite);
}

TEST(GridModel, CountsAreClampedToLeaveOneFreeRowAndColumnAndABoundedSize) {
    GridModel m(5, 5);
    m.SetRows(0);
    EXPECT_EQ(m.Rows(), 2);  // one fixed row plus one free
    m.SetCols(-7);
    EXPECT_EQ(m.Cols(), 2);
    m.SetCols(100000);
    EXPECT_EQ(m.Cols(), GridModel::kMaxCols);
    EXPECT_EQ(int64_t{m.ClampRows(1 << 30)} * m.Cols(), GridModel::kMaxCells);
    m.SetRows(4);
    m.SetFixedRows(99);
    EXPECT_EQ(m.FixedRows(), 3);
    m.SetFixedCols(-3);
    EXPECT_EQ(m.FixedCols(), 0);
}

TEST(GridModel, CurrentCellFollowsShrinkingAndFixedChangesAndRefusesFixedCells) {
    GridModel m(10, 6);
    ASSERT_TRUE(m.SetCurrent({8, 5}));
    EXPECT_EQ(m.CurrentAfterRows(4), (CellPos{3, 5}));
    EXPECT_EQ(m.Current(), (CellPos{8, 5}));  // only asked
    m.SetRows(4);
    EXPECT_EQ(m.Current(), (CellPos{3, 5}));
    m.SetCols(3);
    EXPECT_EQ(m.Current(), (CellPos{3, 2}));

    EXPECT_FALSE(m.SetCurrent({0, 1}));  // fixed row
    EXPECT_FALSE(m.SetCurrent({1, 0}));  // fixed column
    EXPECT_FALSE(m.SetCurrent({4, 1}));  // outside
    EXPECT_EQ(m.Current(), (CellPos{3, 2}));

    ASSERT_TRUE(m.SetCurrent({1, 1}));
    m.SetFixedRows(2);
    m.SetFixedCols(2);
    EXPECT_EQ(m.Current(), (CellPos{2, 2}));
    EXPECT_EQ(m.ClampToScrollable({-5, 99}), (CellPos{2, 2}));
}

TEST(GridModel, OutsideCellsReadDefaultsAndIgnoreWrites) {
    GridModel m(3, 3);
    for (auto [row, col] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}}) {
        m.SetText(row, col, "x");
        m.SetColor(row, col, 0x010203);
        EXPECT_EQ(m.Text(row, col), "");
    }
    EXPECT_EQ(m.Color(0, 1), kFixedGrey);
    EXPECT_EQ(m.Color(1, 1), kWhite);
    m.SetColor(1, 1, 0xFF123456);  // the high byte is not a colour
    EXPECT_EQ(m.Color(1, 1), 0x123456u);
}

TEST(GridModel, WidthsAndAlignmentsDefaultClampAndRejectUnknownValues) {
    GridModel m(3, 3);
    EXPECT_EQ(m.ColWidthTwips(1), GridModel::kDefaultColWidthTwips);
    m.SetColWidthTwips(1, 500);
    EXPECT_EQ(m.ColWidthTwips(1), 500);
    m.SetColWidthTwips(1, 1 << 30);
    EXPECT_EQ(m.ColWidthTwips(1), GridModel::kMaxColWidthTwips);
    m.SetColWidthTwips(1, -5);
    EXPECT_EQ(m.ColWidthTwips(1), GridModel::kDefaultColWidthTwips);
    EXPECT_EQ(m.ColWidthTwips(7), GridModel::kDefaultColWidthTwips);

    EXPECT_EQ(m.ColAlignment(2), kAlignGeneral);
    m.SetColAlignment(2, kAlignLeftCenter);
    m.SetColAlignment(2, 10);
    m.SetColAlignment(2, -1);
    EXPECT_EQ(m.ColAlignment(2), kAlignLeftCenter);
    m.SetCols(5);  // new columns take the defaults
    EXPECT_EQ(m.ColAlignment(4), kAlignGeneral);
    EXPECT_EQ(m.ColWidthTwips(4), GridModel::kDefaultColWidthTwips);
}
