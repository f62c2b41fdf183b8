// The Cell box and the grid: typing, the arrow keys, clicks, colours and the
// bytes of texts the box did not change.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"
#include "worksheet_host.h"

#include <QAbstractScrollArea>

using korvel::test::WorksheetHost;

namespace {

// Every cell of the share rows holds its own coordinates, "r,c".
void FillCoordinates(CTavoView& view)
{
    const CMSFlexGrid& grid = view.Grid();
    for (int32_t row = 1; row < grid.GetRows(); ++row)
        for (int32_t col = 1; col < grid.GetCols(); ++col)
            view.SetCellBytes(row, col, std::to_string(row) + "," + std::to_string(col));
}

bool BoxShowsCurrentCell(WorksheetHost& host)
{
    const CMSFlexGrid& grid = host.Grid();
    return host.CellEdit()->CellBytes() == grid.GetTextMatrix(grid.GetRow(), grid.GetCol());
}

}  // namespace

class WorksheetCellTest : public QObject {
    Q_OBJECT

private slots:
    void typingWritesEveryKeystrokeAndMarksModifiedAtOnce()
    {
        WorksheetHost host;
        CCellEdit* box = host.CellEdit();
        box->setFocus();
        QTest::keyClicks(box, "Alpha");
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("Alpha"));
        QVERIFY(host.document.IsModified());

        // The cell has the text, and the document is marked, before the key is released.
        host.document.SetModifiedFlag(false);
        QTest::keyPress(box, Qt::Key_X);
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("Alphax"));
        QVERIFY(host.document.IsModified());
        QTest::keyRelease(box, Qt::Key_X);

        // Text set by the program is not the user's edit.
        host.document.SetModifiedFlag(false);
        host.MakeCurrent(1, 2);
        QVERIFY(!box->GetModify());
        QTest::keyClick(box, Qt::Key_Shift);
        QVERIFY(!host.document.IsModified());

        // Cut, paste and undo are the user's edits like typing, and reach the cell.
        host.MakeCurrent(1, 1);
        box->selectAll();
        box->cut();
        QVERIFY(box->GetModify());
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string());
        box->paste();
        box->paste();
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("AlphaxAlphax"));
        host.MakeCurrent(1, 2);
        QTest::keyClicks(box, "u");
        box->SetModify(false);
        box->undo();
        QVERIFY(box->GetModify());
        QCOMPARE(host.Grid().GetTextMatrix(1, 2), std::string());
    }

    void upAndDownMoveTheRowAndNeverReachTheBox()
    {
        WorksheetHost host;
        host.SetShares(3);
        FillCoordinates(*host.view);
        host.MakeCurrent(1, 2);
        host.document.SetModifiedFlag(false);
        CCellEdit* box = host.CellEdit();
        box->setFocus();
        QCOMPARE(box->text(), QString("1,2"));

        box->setCursorPosition(1);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(host.Grid().GetRow(), 1);
        QCOMPARE(box->cursorPosition(), 1);

        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(host.Grid().GetRow(), 2);
        QCOMPARE(box->text(), QString("2,2"));
        QCOMPARE(host.Grid().GetCellColor(1, 2), CTavoView::kLeftCellColor);
        QCOMPARE(host.Grid().GetCellColor(2, 2), CTavoView::kCurrentCellColor);

        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(host.Grid().GetRow(), 3);
        box->setCursorPosition(2);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(host.Grid().GetRow(), 3);
        QCOMPARE(box->cursorPosition(), 2);
        QCOMPARE(box->text(), QString("3,2"));
        QVERIFY(!host.document.IsModified());
    }

    void shiftArrowsMoveTheColumnPlainArrowsTheCaret()
    {
        WorksheetHost host;
        FillCoordinates(*host.view);
        host.view->LoadCellEdit();
        CCellEdit* box = host.CellEdit();
        box->setFocus();
        box->setCursorPosition(3);

        QTest::keyClick(box, Qt::Key_Left);
        QCOMPARE(host.Grid().GetCol(), 1);
        QCOMPARE(box->cursorPosition(), 2);

        // Shift+Left in the first column selects in the box instead.
        QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(host.Grid().GetCol(), 1);
        QCOMPARE(box->selectedText(), QString(","));

        for (int col = 2; col <= 4; ++col) {
            QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
            QCOMPARE(host.Grid().GetCol(), col);
            QCOMPARE(box->text(), QString("1,%1").arg(col));
        }
        // And Shift+Right in the last column selects.
        box->setCursorPosition(0);
        QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(host.Grid().GetCol(), 4);
        QCOMPARE(box->selectedText(), QString("1"));

        QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(host.Grid().GetCol(), 3);
        QVERIFY(!host.document.IsModified());
    }

    void clickOnTheGridMovesAndGivesTheFocusToTheBox()
    {
        WorksheetHost host;
        host.SetShares(40);
        FillCoordinates(*host.view);
        host.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.view.get()));
        korvel::test::MinReturnBox(*host.view)->setFocus();

        auto* grid = qobject_cast<QAbstractScrollArea*>(host.Grid().Widget());
        QVERIFY(grid);
        QRect cell;
        QVERIFY(QMetaObject::invokeMethod(grid, "cellRect", Q_RETURN_ARG(QRect, cell), Q_ARG(int, 3), Q_ARG(int, 2)));
        QVERIFY(!cell.isEmpty());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(host.Grid().GetRow(), 3);
        QCOMPARE(host.Grid().GetCol(), 2);
        QCOMPARE(host.CellEdit()->text(), QString("3,2"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(host.CellEdit()));
        QVERIFY(BoxShowsCurrentCell(host));
        QCOMPARE(host.Grid().GetCellColor(1, 1), CTavoView::kLeftCellColor);
        QCOMPARE(host.Grid().GetCellColor(host.Grid().GetRow(), host.Grid().GetCol()), CTavoView::kCurrentCellColor);
    }

    void shrinkingMovesTheCurrentCellIntoTheWorksheet()
    {
        WorksheetHost host;
        host.SetShares(5);
        host.SetPeriods(6);
        FillCoordinates(*host.view);
        host.MakeCurrent(5, 7);
        host.SetShares(2);
        host.SetPeriods(3);
        const CMSFlexGrid& grid = host.Grid();
        QVERIFY(grid.GetRow() <= 2 && grid.GetCol() <= 4);
        QVERIFY(BoxShowsCurrentCell(host));
        QCOMPARE(grid.GetCellColor(grid.GetRow(), grid.GetCol()), CTavoView::kCurrentCellColor);
    }

    // A cell's bytes stay as they are until the user edits them: a long text
    // is not cut to the box's limit, and Windows-1252 is not turned into UTF-8.
    void makingACellCurrentKeepsItsBytes()
    {
        WorksheetHost host;
        host.SetShares(3);
        const CMSFlexGrid& grid = host.Grid();
        const std::string longText(300, 'L');
        const std::string latin1 = "Soci\xE9t\xE9 G\xE9n\xE9rale";
        const std::string mixed = "caf\xC3\xA9 \x80\x81";
        host.view->SetCellBytes(2, 1, longText);
        host.view->SetCellBytes(3, 1, latin1);
        host.view->SetCellBytes(3, 2, mixed);
        CCellEdit* box = host.CellEdit();
        box->setFocus();

        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text().size(), qsizetype(300));
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text(), QString::fromUtf8("Soci\xC3\xA9t\xC3\xA9 G\xC3\xA9n\xC3\xA9rale"));
        QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(box->text(), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC\xEF\xBF\xBD"));
        QTest::keyClick(box, Qt::Key_Up);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(grid.GetTextMatrix(2, 1), longText);
        QCOMPARE(grid.GetTextMatrix(3, 1), latin1);
        QCOMPARE(grid.GetTextMatrix(3, 2), mixed);

        // An edit writes the box's text back as UTF-8, the long text whole.
        host.MakeCurrent(3, 1);
        box->end(false);
        QTest::keyClicks(box, "!");
        QCOMPARE(grid.GetTextMatrix(3, 1), std::string("Soci\xC3\xA9t\xC3\xA9 G\xC3\xA9n\xC3\xA9rale!"));
        host.MakeCurrent(2, 1);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(grid.GetTextMatrix(2, 1), std::string(299, 'L'));

        // Typed text stops at 127 characters.
        host.MakeCurrent(1, 1);
        QTest::keyClicks(box, QString(140, QLatin1Char('t')));
        QCOMPARE(grid.GetTextMatrix(1, 1), std::string(127, 't'));
    }
};

KORVEL_TEST_MAIN(WorksheetCellTest)
#include "worksheet_cell_test.moc"
