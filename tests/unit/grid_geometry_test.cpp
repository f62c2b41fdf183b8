#include "core/grid/GridGeometry.h"

#include <gtest/gtest.h>

using namespace korvel::grid;

namespace {

// 20 rows of 10 px, columns 30, 40, 50, 60, 70 px; one fixed row and column;
// a 150 x 65 px viewport: 5 scrolled rows fit, 2 columns after the fixed one.
GridGeometry Sample() {
    GridGeometry g;
    g.SetColumnWidths({30, 40, 50, 60, 70});
    g.SetRowCount(20);
    g.SetRowHeight(10);
    g.SetFixed(1, 1);
    g.SetViewport(150, 65);
    return g;
}

}  // namespace

TEST(GridGeometry, PagesAndScrollLimitsKeepTheLastCellWhollyVisible) {
    GridGeometry g = Sample();
    EXPECT_EQ(g.PageRows(), 5);
    EXPECT_EQ(g.PageCols(), 2);  // 40 + 50 fit in 120, 60 more does not
    EXPECT_EQ(g.MaxFirstRow(), 15);
    EXPECT_EQ(g.MaxFirstCol(), 4);  // 70 fits in 120, 60 + 70 does not
    g.SetFirstRow(99);
    g.SetFirstCol(99);
    EXPECT_EQ(g.FirstRow(), 15);
    EXPECT_EQ(g.FirstCol(), 4);
    g.SetFirstRow(-3);
    g.SetFirstCol(0);  // the fixed column cannot be scrolled to
    EXPECT_EQ(g.FirstRow(), 1);
    EXPECT_EQ(g.FirstCol(), 1);
}

TEST(GridGeometry, EdgesAndHitTestAgreeForFixedAndScrolledCells) {
    GridGeometry g = Sample();
    g.SetFirstRow(5);
    g.SetFirstCol(2);
    EXPECT_EQ(g.RowTop(0), 0);
    EXPECT_EQ(g.RowTop(5), 10);
    EXPECT_EQ(g.ColLeft(0), 0);
    EXPECT_EQ(g.ColLeft(2), 30);
    EXPECT_EQ(g.ColLeft(3), 80);

    EXPECT_EQ(g.HitTest(5, 5), (CellPos{0, 0}));
    EXPECT_EQ(g.HitTest(29, 15), (CellPos{5, 0}));
    EXPECT_EQ(g.HitTest(30, 15), (CellPos{5, 2}));
    EXPECT_EQ(g.HitTest(80, 64), (CellPos{10, 3}));
    EXPECT_EQ(g.HitTest(150, 5), (CellPos{-1, -1}));
    EXPECT_EQ(g.HitTest(-1, 5), (CellPos{-1, -1}));

    EXPECT_TRUE(g.IsRowShown(0));
    EXPECT_FALSE(g.IsRowShown(4));  // scrolled away
    EXPECT_TRUE(g.IsRowShown(10));
    EXPECT_FALSE(g.IsRowShown(11));
    EXPECT_FALSE(g.IsColShown(1));
    EXPECT_TRUE(g.IsColShown(4));
    EXPECT_FALSE(g.IsColShown(5));
}

TEST(GridGeometry, HitTestPastTheLastRowOrColumnFindsNothing) {
    GridGeometry g;
    g.SetColumnWidths({20, 20});
    g.SetRowCount(3);
    g.SetRowHeight(10);
    g.SetFixed(1, 1);
    g.SetViewport(200, 200);
    EXPECT_EQ(g.HitTest(25, 25), (CellPos{2, 1}));
    EXPECT_EQ(g.HitTest(45, 25), (CellPos{-1, -1}));
    EXPECT_EQ(g.HitTest(25, 35), (CellPos{-1, -1}));
}

TEST(GridGeometry, ScrollIntoViewMovesAsLittleAsPossible) {
    GridGeometry g = Sample();
    g.ScrollIntoView({8, 1});
    EXPECT_EQ(g.FirstRow(), 4);  // row 8 becomes the last whole row
    g.ScrollIntoView({6, 1});
    EXPECT_EQ(g.FirstRow(), 4);  // already visible
    g.ScrollIntoView({2, 1});
    EXPECT_EQ(g.FirstRow(), 2);
    g.ScrollIntoView({2, 4});
    EXPECT_EQ(g.FirstCol(), 4);  // 60 + 70 > 120 px: column 4 needs to lead
    EXPECT_EQ(g.FirstRow(), 2);
    g.ScrollIntoView({2, 2});
    EXPECT_EQ(g.FirstCol(), 2);
}
