// What the worksheet and the solution dialog rely on: sizes that keep, drop
// and add cells, fixed cells that never become current, byte-exact texts,
// per-cell colours, widths in twips, and the cell events in their order for
// program moves as well as for the mouse and the keyboard.
#include "core/grid/DisplayText.h"
#include "gui/grid/MSFlexGrid.h"
#include "support/GridTestSupport.h"

#include <QAbstractScrollArea>
#include <QWidget>

namespace {

// Records the grid's events, in order, as short names.
class EventLog : public QObject {
public:
    explicit EventLog(CMSFlexGrid& grid) : m_grid(grid)
    {
        connect(&grid, &CMSFlexGrid::LeaveCell, this, [this] { Add("Leave"); });
        connect(&grid, &CMSFlexGrid::RowColChange, this, [this] { Add("Change"); });
        connect(&grid, &CMSFlexGrid::EnterCell, this, [this] { Add("Enter"); });
        connect(&grid, &CMSFlexGrid::Click, this, [this] { Add("Click"); });
    }
    // Each entry carries the current cell at the time of the event.
    QStringList Take() { return std::exchange(m_events, {}); }

private:
    void Add(const char* name)
    {
        m_events << QStringLiteral("%1(%2,%3)").arg(QLatin1String(name)).arg(m_grid.GetRow()).arg(m_grid.GetCol());
    }
    CMSFlexGrid& m_grid;
    QStringList m_events;
};

QWidget* Viewport(CMSFlexGrid& grid)
{
    return qobject_cast<QAbstractScrollArea*>(grid.Widget())->viewport();
}

QRect CellRect(CMSFlexGrid& grid, int row, int col)
{
    QRect rect;
    QMetaObject::invokeMethod(grid.Widget(), "cellRect", Q_RETURN_ARG(QRect, rect), Q_ARG(int, row), Q_ARG(int, col));
    return rect;
}

}  // namespace

class GridOperationsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_parent = std::make_unique<QWidget>();
        m_parent->resize(700, 400);
        m_grid = std::make_unique<CMSFlexGrid>();
        QVERIFY(m_grid->Create(m_parent.get(), QRect(0, 0, 700, 400)));
        m_parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
    }

    void cleanup()
    {
        m_grid.reset();
        m_parent.reset();
    }

    void resizingKeepsDropsAndAddsCells()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(4);
        grid.SetCols(5);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c)
                grid.SetTextMatrix(r, c, QStringLiteral("%1:%2").arg(r).arg(c).toStdString());
        grid.SetRows(3);
        grid.SetCols(4);
        QCOMPARE(grid.GetRows(), 3);
        QCOMPARE(grid.GetCols(), 4);
        QCOMPARE(grid.GetTextMatrix(2, 3), "2:3");
        QCOMPARE(grid.GetTextMatrix(3, 0), "");  // outside the grid
        grid.SetRows(5);
        grid.SetCols(6);
        // Dropped cells come back empty, kept ones unchanged.
        QCOMPARE(grid.GetTextMatrix(3, 1), "");
        QCOMPARE(grid.GetTextMatrix(1, 4), "");
        QCOMPARE(grid.GetTextMatrix(4, 5), "");
        QCOMPARE(grid.GetTextMatrix(0, 0), "0:0");
        QCOMPARE(grid.GetTextMatrix(1, 2), "1:2");
    }

    void sizesNeverLeaveTheGridWithoutACurrentCell()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(0);
        grid.SetCols(-5);
        QCOMPARE(grid.GetRows(), 2);
        QCOMPARE(grid.GetCols(), 2);
        QCOMPARE(grid.GetRow(), 1);
        QCOMPARE(grid.GetCol(), 1);
        grid.SetRows(1001);
        grid.SetCols(12);
        QCOMPARE(grid.GetRows(), 1001);
        // A hostile size is bounded, not allocated.
        grid.SetRows(std::numeric_limits<int32_t>::max());
        QVERIFY(grid.GetRows() > 1001);
        QVERIFY(int64_t{grid.GetRows()} * grid.GetCols() <= (1 << 20));
    }

    void fixedCellsNeverBecomeCurrent()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(5);
        grid.SetCols(5);
        EventLog log(grid);
        grid.SetRow(0);
        grid.SetCol(0);
        grid.SetRow(5);  // beyond the last row
        grid.SetCol(-1);
        QCOMPARE(grid.GetRow(), 1);
        QCOMPARE(grid.GetCol(), 1);
        QCOMPARE(log.Take(), QStringList());
        // The mouse cannot pick a header either: it only clicks.
        QTest::mouseClick(Viewport(grid), Qt::LeftButton, {}, CellRect(grid, 0, 3).center());
        QTest::mouseClick(Viewport(grid), Qt::LeftButton, {}, CellRect(grid, 3, 0).center());
        QCOMPARE(log.Take(), QStringList({"Click(1,1)", "Click(1,1)"}));
        // Nor the keyboard.
        grid.Widget()->setFocus();
        QTest::keyClick(grid.Widget(), Qt::Key_Up);
        QTest::keyClick(grid.Widget(), Qt::Key_Left);
        QTest::keyClick(grid.Widget(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(grid.GetRow(), 1);
        QCOMPARE(grid.GetCol(), 1);
        QCOMPARE(log.Take(), QStringList());
    }

    void fixedCountsMoveTheCurrentCellOutOfTheirWay()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(5);
        grid.SetCols(5);
        EventLog log(grid);
        grid.SetFixedRows(2);
        QCOMPARE(log.Take(), QStringList({"Leave(1,1)", "Change(2,1)", "Enter(2,1)"}));
        grid.SetFixedRows(9);  // at least one row stays free
        QCOMPARE(grid.GetFixedRows(), 4);
        QCOMPARE(grid.GetRow(), 4);
        grid.SetRows(2);  // never fewer rows than the fixed ones and one more
        QCOMPARE(grid.GetRows(), 5);
        grid.SetFixedRows(0);
        grid.SetFixedCols(0);
        log.Take();
        grid.SetRow(0);
        grid.SetCol(0);
        QCOMPARE(log.Take(),
                 QStringList({"Leave(4,1)", "Change(0,1)", "Enter(0,1)", "Leave(0,1)", "Change(0,0)", "Enter(0,0)"}));
        QCOMPARE(grid.GetCellColor(0, 0), 0xFFFFFFu);  // no longer a header
    }

    void programMovesFireLeaveBeforeAndChangeEnterAfter()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(10);
        grid.SetCols(5);
        EventLog log(grid);
        grid.SetRow(4);
        grid.SetCol(3);
        grid.SetRow(4);  // no change, no events
        QCOMPARE(log.Take(),
                 QStringList({"Leave(1,1)", "Change(4,1)", "Enter(4,1)", "Leave(4,1)", "Change(4,3)", "Enter(4,3)"}));
        // Shrinking past the current cell pulls it in, with the same events;
        // the leave event still finds the old cell in place.
        QStringList leftTexts;
        connect(&grid, &CMSFlexGrid::LeaveCell, this, [&] { leftTexts << QString::fromStdString(grid.GetText()); });
        grid.SetText("old");
        grid.SetRows(3);
        grid.SetCols(3);
        QCOMPARE(log.Take(),
                 QStringList({"Leave(4,3)", "Change(2,3)", "Enter(2,3)", "Leave(2,3)", "Change(2,2)", "Enter(2,2)"}));
        QCOMPARE(leftTexts.value(0), QStringLiteral("old"));
        grid.SetRows(20);  // growing leaves the current cell alone
        QCOMPARE(log.Take(), QStringList());
    }

    void handlersMayChangeTheCurrentCellColour()
    {
        // The worksheet paints the cell it leaves white and the new one yellow.
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(5);
        grid.SetCols(5);
        connect(&grid, &CMSFlexGrid::LeaveCell, this, [&] { grid.SetCurrentCellColor(0xFFFFFF); });
        connect(&grid, &CMSFlexGrid::RowColChange, this, [&] { grid.SetCurrentCellColor(0xC0FFFF); });
        grid.SetCurrentCellColor(0xC0FFFF);
        grid.SetRow(3);
        QCOMPARE(grid.GetCellColor(1, 1), 0xFFFFFFu);
        QCOMPARE(grid.GetCellColor(3, 1), 0xC0FFFFu);
        QCOMPARE(grid.GetCellColor(2, 2), 0xFFFFFFu);   // never set: white
        QVERIFY(grid.GetCellColor(0, 2) != 0xFFFFFFu);  // headers are grey
        QCOMPARE(grid.GetCellColor(0, 2), grid.GetCellColor(2, 0));
    }

    void clickMakesACellCurrentThenClicks()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(10);
        grid.SetCols(5);
        EventLog log(grid);
        QTest::mouseClick(Viewport(grid), Qt::LeftButton, {}, CellRect(grid, 3, 2).center());
        QCOMPARE(log.Take(), QStringList({"Leave(1,1)", "Change(3,2)", "Enter(3,2)", "Click(3,2)"}));
        // Clicking the current cell again changes nothing but still clicks.
        QTest::mouseClick(Viewport(grid), Qt::LeftButton, {}, CellRect(grid, 3, 2).center());
        QCOMPARE(log.Take(), QStringList({"Click(3,2)"}));
        // Other buttons do nothing.
        QTest::mouseClick(Viewport(grid), Qt::RightButton, {}, CellRect(grid, 4, 4).center());
        QCOMPARE(log.Take(), QStringList());
    }

    void keysMoveLikeASpreadsheet()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRows(1001);
        grid.SetCols(12);
        grid.Widget()->setFocus();
        EventLog log(grid);
        QTest::keyClick(grid.Widget(), Qt::Key_Down);
        QTest::keyClick(grid.Widget(), Qt::Key_Right);
        QCOMPARE(log.Take(),
                 QStringList({"Leave(1,1)", "Change(2,1)", "Enter(2,1)", "Leave(2,1)", "Change(2,2)", "Enter(2,2)"}));
        QTest::keyClick(grid.Widget(), Qt::Key_End);
        QCOMPARE(grid.GetCol(), 11);
        QTest::keyClick(grid.Widget(), Qt::Key_Right);  // at the edge: nothing
        QTest::keyClick(grid.Widget(), Qt::Key_Home);
        QCOMPARE(grid.GetCol(), 1);
        QTest::keyClick(grid.Widget(), Qt::Key_PageDown);
        const int page = grid.GetRow() - 2;
        QVERIFY(page > 5);
        QTest::keyClick(grid.Widget(), Qt::Key_PageUp);
        QCOMPARE(grid.GetRow(), 2);
        QTest::keyClick(grid.Widget(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid.GetRow(), 1000);
        QCOMPARE(grid.GetCol(), 11);
        // The far cell was scrolled into view.
        QVERIFY(Viewport(grid)->rect().contains(CellRect(grid, 1000, 11)));
        log.Take();
        QTest::keyClick(grid.Widget(), Qt::Key_Down);
        QCOMPARE(log.Take(), QStringList());
    }

    void textsAreKeptByteForByte()
    {
        CMSFlexGrid& grid = *m_grid;
        const std::string invalidUtf8("Caf\xe9 \xff\xfe\x80 \0 end", 14);
        const std::string valid("\xc3\xa9t\xc3\xa9 \xe2\x82\xac");
        grid.SetTextMatrix(1, 1, invalidUtf8);
        grid.SetTextMatrix(0, 1, valid);
        QCOMPARE(grid.GetTextMatrix(1, 1), invalidUtf8);
        QCOMPARE(grid.GetText(), invalidUtf8);  // (1, 1) is current
        QCOMPARE(grid.GetTextMatrix(0, 1), valid);
        QCOMPARE(grid.GetTextMatrix(1, 0), "");  // never written
        grid.SetText("");
        QCOMPARE(grid.GetTextMatrix(1, 1), "");
        grid.SetTextMatrix(5, 5, "outside");  // ignored
        QCOMPARE(grid.GetTextMatrix(5, 5), "");
    }

    void displayDecodesUtf8AndFallsBackToWindows1252()
    {
        std::u16string shown;
        korvel::grid::DecodeForDisplay("\xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80", shown);
        QCOMPARE(QString::fromStdU16String(shown), QString::fromUtf8("\xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80"));
        // Bytes that are not UTF-8 read as Windows-1252, one by one, and the
        // valid sequences around them still decode.
        korvel::grid::DecodeForDisplay("Caf\xe9 \x80\x93 \xc3\xa9", shown);
        QCOMPARE(QString::fromStdU16String(shown), QString::fromUtf16(u"Caf\u00e9 \u20ac\u201c \u00e9"));
        // Overlong forms, surrogates and cut sequences are not UTF-8.
        korvel::grid::DecodeForDisplay("\xc0\xaf|\xed\xa0\x80|\xe2\x82", shown);
        QCOMPARE(QString::fromStdU16String(shown), QString::fromUtf16(u"\u00c0\u00af|\u00ed\u00a0\u20ac|\u00e2\u201a"));
        korvel::grid::DecodeForDisplay("\x81", shown);
        QCOMPARE(QString::fromStdU16String(shown), QString::fromUtf16(u"\ufffd"));
        korvel::grid::DecodeForDisplay(std::string(100000, 'x'), shown, 50);
        QCOMPARE(shown.size(), size_t{50});
    }

    void widthsAreTwipsAndAlignmentAccepted()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetCols(5);
        QVERIFY(grid.GetColWidth(1) > 0);
        grid.SetColWidth(0, 500);
        grid.SetColWidth(3, 700);
        grid.SetColWidth(4, 320);
        QCOMPARE(grid.GetColWidth(0), 500);
        QCOMPARE(grid.GetColWidth(3), 700);
        QCOMPARE(grid.GetColWidth(4), 320);
        const double dpi = grid.Widget()->logicalDpiX();
        QCOMPARE(CellRect(grid, 0, 0).width(), qRound(500 * dpi / 1440));
        QCOMPARE(CellRect(grid, 1, 4).width(), qRound(320 * dpi / 1440));
        QCOMPARE(CellRect(grid, 1, 1).left(), CellRect(grid, 1, 0).right() + 1);
        // Columns keep their widths when the grid grows or shrinks.
        grid.SetCols(3);
        grid.SetCols(5);
        QCOMPARE(grid.GetColWidth(0), 500);
        QCOMPARE(grid.GetColWidth(4), grid.GetColWidth(1));
        grid.SetColWidth(1, -1);  // back to the default
        QCOMPARE(grid.GetColWidth(1), grid.GetColWidth(2));
        grid.SetColAlignment(1, 1);
        grid.SetColAlignment(99, 1);  // ignored
    }

    void solutionListSwatchesStayPerCell()
    {
        // The solution dialog's share list: colour swatches in column 4.
        CMSFlexGrid& grid = *m_grid;
        grid.SetCols(5);
        grid.SetRows(4);
        const uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
        for (int i = 1; i <= 3; ++i) {
            grid.SetCol(4);
            grid.SetRow(i);
            grid.SetCurrentCellColor(colours[i - 1]);
        }
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(grid.GetCellColor(i, 4), colours[i - 1]);
        QCOMPARE(grid.GetCellColor(1, 3), 0xFFFFFFu);
    }

private:
    std::unique_ptr<QWidget> m_parent;
    std::unique_ptr<CMSFlexGrid> m_grid;
};

KORVEL_TEST_MAIN(GridOperationsTest)
#include "grid_operations_test.moc"
