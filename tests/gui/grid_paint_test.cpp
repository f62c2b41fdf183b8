// What the user sees of a full worksheet (1001 rows by 12 columns): the
// current cell in its own colour, grey headers that stay in place while the
// rest scrolls, and texts decoded for display without touching their bytes.
#include "gui/grid/MSFlexGrid.h"
#include "support/GridTestSupport.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

namespace {

const QColor kLightYellow(255, 255, 192);
const QColor kWhite(255, 255, 255);
const QColor kHeaderGrey(212, 208, 200);

QAbstractScrollArea* Area(CMSFlexGrid& grid)
{
    return qobject_cast<QAbstractScrollArea*>(grid.Widget());
}

QRect CellRect(CMSFlexGrid& grid, int row, int col)
{
    QRect rect;
    QMetaObject::invokeMethod(grid.Widget(), "cellRect", Q_RETURN_ARG(QRect, rect), Q_ARG(int, row), Q_ARG(int, col));
    return rect;
}

QImage Shot(CMSFlexGrid& grid)
{
    return Area(grid)->viewport()->grab().toImage();
}

// A pixel of the cell's background, clear of its text and focus rectangle.
QColor Background(const QImage& image, const QRect& cell)
{
    return image.pixelColor(cell.left() + 2, cell.center().y());
}

int DarkPixels(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top(); y < rect.bottom(); ++y)
        for (int x = rect.left(); x < rect.right(); ++x)
            count += qGray(image.pixel(x, y)) < 100;
    return count;
}

}  // namespace

class GridPaintTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_parent = std::make_unique<QWidget>();
        m_parent->resize(600, 400);
        m_grid = std::make_unique<CMSFlexGrid>();
        QVERIFY(m_grid->Create(m_parent.get(), QRect(0, 0, 600, 400)));
        CMSFlexGrid& grid = *m_grid;
        // Laid out as the worksheet does, and colouring as its handlers do.
        grid.SetRows(1001);
        grid.SetCols(12);
        grid.SetColWidth(0, 500);
        grid.SetTextMatrix(0, 0, "No");
        grid.SetTextMatrix(0, 1, "Name");
        for (int c = 2; c < 12; ++c)
            grid.SetTextMatrix(0, c, "R" + std::to_string(c - 1));
        for (int r = 1; r <= 1000; ++r) {
            grid.SetTextMatrix(r, 0, std::to_string(r));
            for (int c = 2; c < 12; ++c)
                grid.SetTextMatrix(r, c, "0.0" + std::to_string(c));
        }
        for (int c = 1; c < 12; ++c)
            grid.SetColAlignment(c, 1);
        connect(&grid, &CMSFlexGrid::LeaveCell, this, [&grid] { grid.SetCurrentCellColor(0xFFFFFF); });
        connect(&grid, &CMSFlexGrid::RowColChange, this, [&grid] { grid.SetCurrentCellColor(0xC0FFFF); });
        grid.SetCurrentCellColor(0xC0FFFF);
        m_parent->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_parent.get()));
    }

    void cleanup()
    {
        m_grid.reset();
        m_parent.reset();
    }

    void currentCellShowsItsColourAmongWhiteCellsAndGreyHeaders()
    {
        CMSFlexGrid& grid = *m_grid;
        const QImage image = Shot(grid);
        QCOMPARE(Background(image, CellRect(grid, 1, 1)), kLightYellow);
        QCOMPARE(Background(image, CellRect(grid, 2, 1)), kWhite);
        QCOMPARE(Background(image, CellRect(grid, 1, 2)), kWhite);
        QCOMPARE(Background(image, CellRect(grid, 0, 3)), kHeaderGrey);
        QCOMPARE(Background(image, CellRect(grid, 5, 0)), kHeaderGrey);
        QVERIFY(DarkPixels(image, CellRect(grid, 0, 1)) > 0);  // "Name" is drawn
        QVERIFY(DarkPixels(image, CellRect(grid, 3, 0)) > 0);  // row number
    }

    void headersStayWhileTheRestScrolls()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetRow(900);
        grid.SetCol(11);
        QVERIFY(CellRect(grid, 1, 1).isEmpty());  // scrolled away
        const QRect current = CellRect(grid, 900, 11);
        QVERIFY(Area(grid)->viewport()->rect().contains(current));
        const QRect header = CellRect(grid, 0, 11);
        const QRect rowNumber = CellRect(grid, 900, 0);
        QCOMPARE(header.top(), 0);
        QCOMPARE(header.left(), current.left());
        QCOMPARE(rowNumber.left(), 0);
        QCOMPARE(rowNumber.top(), current.top());
        const QImage image = Shot(grid);
        QCOMPARE(Background(image, current), kLightYellow);
        QCOMPARE(Background(image, header), kHeaderGrey);
        QCOMPARE(Background(image, rowNumber), kHeaderGrey);
        QVERIFY(DarkPixels(image, header) > 0);
        QVERIFY(DarkPixels(image, rowNumber) > 0);
        // The corner cell stays put too.
        QCOMPARE(CellRect(grid, 0, 0).topLeft(), QPoint(0, 0));
        // Going back scrolls back.
        grid.SetRow(1);
        grid.SetCol(1);
        QCOMPARE(CellRect(grid, 1, 1).top(), CellRect(grid, 0, 1).bottom() + 1);
        QCOMPARE(Background(Shot(grid), CellRect(grid, 1, 1)), kLightYellow);
    }

    void wheelScrollsRowsButNotTheHeader()
    {
        CMSFlexGrid& grid = *m_grid;
        QWidget* viewport = Area(grid)->viewport();
        const QPoint at = viewport->rect().center();
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QVERIFY(Area(grid)->verticalScrollBar()->value() > 0);
        QVERIFY(CellRect(grid, 1, 1).isEmpty());
        QCOMPARE(CellRect(grid, 0, 1).top(), 0);
        QCOMPARE(grid.GetRow(), 1);  // scrolling does not move the current cell
        // The bars reach exactly the last row and column.
        QScrollBar* vertical = Area(grid)->verticalScrollBar();
        vertical->setValue(vertical->maximum());
        QVERIFY(viewport->rect().contains(CellRect(grid, 1000, 1)));
        QVERIFY(!CellRect(grid, 1000 - vertical->pageStep(), 1).isValid());
        QScrollBar* horizontal = Area(grid)->horizontalScrollBar();
        horizontal->setValue(horizontal->maximum());
        QVERIFY(viewport->rect().contains(CellRect(grid, 1000, 11)));
    }

    void invalidUtf8ShowsAsWindows1252()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetTextMatrix(2, 2, "Caf\xe9 \x80");              // Windows-1252 bytes
        grid.SetTextMatrix(3, 2, "Caf\xc3\xa9 \xe2\x82\xac");  // the same text in UTF-8
        grid.SetTextMatrix(4, 2, "Cafe E");
        const QImage image = Shot(grid);
        const QImage cp1252 = image.copy(CellRect(grid, 2, 2));
        QCOMPARE(cp1252, image.copy(CellRect(grid, 3, 2)));
        QVERIFY(cp1252 != image.copy(CellRect(grid, 4, 2)));
        QCOMPARE(grid.GetTextMatrix(2, 2), "Caf\xe9 \x80");
    }

    void clippedTextShowsWholeInATooltip()
    {
        CMSFlexGrid& grid = *m_grid;
        const std::string longName = "A share name far too long for its column \xe9";
        grid.SetTextMatrix(2, 1, longName);
        QWidget* viewport = Area(grid)->viewport();
        const QPoint at = CellRect(grid, 2, 1).center();
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &help);
        QTRY_COMPARE(QToolTip::text(), QString::fromUtf8("A share name far too long for its column \xc3\xa9"));
        // A text that fits has no tooltip.
        const QPoint fits = CellRect(grid, 2, 2).center();
        QHelpEvent shortHelp(QEvent::ToolTip, fits, viewport->mapToGlobal(fits));
        QApplication::sendEvent(viewport, &shortHelp);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void focusedGridMarksTheCurrentCell()
    {
        CMSFlexGrid& grid = *m_grid;
        grid.SetTextMatrix(1, 1, "");
        grid.Widget()->clearFocus();
        QTRY_VERIFY(!grid.Widget()->hasFocus());
        const int unfocused = DarkPixels(Shot(grid), CellRect(grid, 1, 1));
        grid.Widget()->setFocus();
        QTRY_VERIFY(grid.Widget()->hasFocus());
        QCOMPARE(unfocused, 0);
        QVERIFY(DarkPixels(Shot(grid), CellRect(grid, 1, 1)) > 0);
    }

private:
    std::unique_ptr<QWidget> m_parent;
    std::unique_ptr<CMSFlexGrid> m_grid;
};

KORVEL_TEST_MAIN(GridPaintTest)
#include "grid_paint_test.moc"
