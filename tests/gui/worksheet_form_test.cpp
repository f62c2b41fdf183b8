// The worksheet form: reset state, the Assets and Periods spins, Min Return,
// the grid's size rule and the form's keyboard navigation.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"
#include "worksheet_host.h"

#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

using korvel::test::MessageBoxRecorder;
using korvel::test::WorksheetHost;

namespace {

QToolButton* SpinButton(korvel::UpDownControl* spin, Qt::ArrowType arrow)
{
    for (QToolButton* button : spin->findChildren<QToolButton*>())
        if (button->arrowType() == arrow)
            return button;
    return nullptr;
}

QLabel* LabelWithText(QWidget* form, const QString& text)
{
    for (QLabel* label : form->findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}

}  // namespace

class WorksheetFormTest : public QObject {
    Q_OBJECT

private slots:
    void newWorksheetIsTheResetState()
    {
        WorksheetHost host;
        QVERIFY(host.created);
        const CMSFlexGrid& grid = host.Grid();
        QCOMPARE(grid.GetRows(), 2);
        QCOMPARE(grid.GetCols(), 5);
        const char* headers[] = {"No", "Name", "R1", "R2", "R3"};
        for (int col = 0; col < 5; ++col)
            QCOMPARE(grid.GetTextMatrix(0, col), std::string(headers[col]));
        QCOMPARE(grid.GetTextMatrix(1, 0), std::string("1"));
        for (int col = 1; col < 5; ++col)
            QCOMPARE(grid.GetTextMatrix(1, col), std::string());
        QCOMPARE(korvel::test::AssetsBox(*host.view)->text(), QString("1"));
        QCOMPARE(korvel::test::PeriodsBox(*host.view)->text(), QString("3"));
        QCOMPARE(korvel::test::MinReturnBox(*host.view)->text(), QString());
        QVERIFY(korvel::test::AssetsBox(*host.view)->isReadOnly());
        QVERIFY(korvel::test::PeriodsBox(*host.view)->isReadOnly());
        QCOMPARE(grid.GetColWidth(0), 500);
        QCOMPARE(grid.GetCellColor(grid.GetRow(), grid.GetCol()), CTavoView::kCurrentCellColor);
        QVERIFY(!host.document.IsModified());
        QCOMPARE(host.document.GetTitle(), QString("Untitled"));
    }

    void assetsSpinResizesAndNumbersRows()
    {
        WorksheetHost host;
        const CMSFlexGrid& grid = host.Grid();
        QToolButton* up = SpinButton(korvel::test::AssetsSpin(*host.view), Qt::UpArrow);
        QToolButton* down = SpinButton(korvel::test::AssetsSpin(*host.view), Qt::DownArrow);
        QVERIFY(up && down);

        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(grid.GetRows(), 4);
        QCOMPARE(grid.GetTextMatrix(3, 0), std::string("3"));
        QCOMPARE(korvel::test::AssetsBox(*host.view)->text(), QString("3"));
        QVERIFY(host.document.IsModified());

        // A row dropped and added again comes back empty and numbered.
        host.view->SetCellBytes(3, 1, "Gamma");
        QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(grid.GetRows(), 3);
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(grid.GetRows(), 4);
        QCOMPARE(grid.GetTextMatrix(3, 1), std::string());
        QCOMPARE(grid.GetTextMatrix(3, 0), std::string("3"));

        // Up and Down in the read-only buddy step the spin; Down stops at 1.
        korvel::test::AssetsBox(*host.view)->setFocus();
        QTest::keyClick(korvel::test::AssetsBox(*host.view), Qt::Key_Up);
        QCOMPARE(grid.GetRows(), 5);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(korvel::test::AssetsBox(*host.view), Qt::Key_Down);
        QCOMPARE(grid.GetRows(), 2);
        QCOMPARE(korvel::test::AssetsBox(*host.view)->text(), QString("1"));
    }

    void assetsAtTheLimitsAndRefusedTexts()
    {
        WorksheetHost host;
        const CMSFlexGrid& grid = host.Grid();
        host.SetShares(1000);
        QCOMPARE(grid.GetRows(), 1001);
        QCOMPARE(grid.GetTextMatrix(1000, 0), std::string("1000"));
        QCOMPARE(korvel::test::AssetsBox(*host.view)->text(), korvel::test::AssetsSpin(*host.view)->FormatPos(1000));
        QVERIFY(korvel::test::AssetsBox(*host.view)->text().size() == 5);  // with the thousands separator

        // Texts outside 1..1000 are refused: the grid keeps its rows, the
        // field shows the real count again and nothing is marked modified.
        host.document.SetModifiedFlag(false);
        for (const char* text : {"1001", "0", "-3", "many", ""}) {
            korvel::test::AssetsBox(*host.view)->setText(QString::fromLatin1(text));
            QCOMPARE(grid.GetRows(), 1001);
            QCOMPARE(korvel::test::AssetsBox(*host.view)->text(),
                     korvel::test::AssetsSpin(*host.view)->FormatPos(1000));
        }
        QVERIFY(!host.document.IsModified());

        // A plain number in range, as Insert and Delete share write it, is taken.
        korvel::test::AssetsBox(*host.view)->setText("999");
        QCOMPARE(grid.GetRows(), 1000);
        QVERIFY(host.document.IsModified());
    }

    void periodsSpinRelabelsColumns()
    {
        WorksheetHost host;
        const CMSFlexGrid& grid = host.Grid();
        host.SetPeriods(10);
        QCOMPARE(grid.GetCols(), 12);
        QCOMPARE(grid.GetTextMatrix(0, 11), std::string("R10"));
        QVERIFY(host.document.IsModified());

        host.view->SetCellBytes(1, 11, "4.5");
        QTest::mouseClick(SpinButton(korvel::test::PeriodsSpin(*host.view), Qt::DownArrow), Qt::LeftButton);
        QCOMPARE(grid.GetCols(), 11);
        QCOMPARE(grid.GetTextMatrix(0, 10), std::string("R9"));
        korvel::test::PeriodsBox(*host.view)->setFocus();
        QTest::keyClick(korvel::test::PeriodsBox(*host.view), Qt::Key_Up);
        QCOMPARE(grid.GetCols(), 12);
        QCOMPARE(grid.GetTextMatrix(1, 11), std::string());
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(korvel::test::PeriodsBox(*host.view), Qt::Key_Down);
        QCOMPARE(grid.GetCols(), 5);
        QCOMPARE(korvel::test::PeriodsBox(*host.view)->text(), QString("3"));
    }

    void gridFollowsTheClientArea()
    {
        WorksheetHost host;
        QWidget* grid = host.Grid().Widget();
        const QPoint topLeft = grid->pos();

        host.view->resize(800, 600);
        QCOMPARE(host.view->viewport()->size(), QSize(800, 600));
        QCOMPARE(grid->size(), QSize(747, 504));
        QCOMPARE(grid->pos(), topLeft);

        host.view->resize(500, 200);
        QCOMPARE(grid->size(), QSize(522, 160));
        // Smaller than the form: the form scrolls.
        QTRY_VERIFY(host.view->horizontalScrollBar()->isVisible());
        QTRY_VERIFY(host.view->verticalScrollBar()->isVisible());
        QCOMPARE(grid->size(), QSize(522, 160));

        host.view->resize(576, 257);
        QTRY_COMPARE(host.view->viewport()->size(), QSize(576, 257));
        QCOMPARE(grid->size(), QSize(523, 161));
        QVERIFY(grid->isVisible());
    }

    void minReturnLimitAndExchange()
    {
        WorksheetHost host;
        host.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.view.get()));
        QLineEdit* field = korvel::test::MinReturnBox(*host.view);
        field->setFocus();
        QTest::keyClicks(field, "1234567890abcdefghijKLMNO");
        QCOMPARE(field->text(), QString("1234567890abcdefghij"));
        QVERIFY(host.document.IsModified());

        // Leaving the field pulls its text into the member.
        korvel::test::CellBox(*host.view)->setFocus();
        QCOMPARE(host.view->MinReturnText(), QString("1234567890abcdefghij"));

        // A longer text can only come from a file: it is shown whole, and
        // pulling it reports the limit, fails and still keeps the text.
        MessageBoxRecorder boxes;
        const QString longText = QString(25, QLatin1Char('7'));
        host.view->SetMinReturnBytes(longText.toStdString());
        host.view->UpdateData(false);
        QCOMPARE(field->text(), longText);
        QVERIFY(!host.view->UpdateData(true));
        QCOMPARE(host.view->MinReturnText(), longText);
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(boxes.LastText().contains("20"));
    }

    void labelsAndTabOrder()
    {
        WorksheetHost host;
        QWidget* form = host.view->widget();
        QCOMPARE(LabelWithText(form, "A&ssets")->buddy(), static_cast<QWidget*>(korvel::test::AssetsBox(*host.view)));
        QCOMPARE(LabelWithText(form, "&Periods")->buddy(), static_cast<QWidget*>(korvel::test::PeriodsBox(*host.view)));
        QCOMPARE(LabelWithText(form, "Min &Return")->buddy(),
                 static_cast<QWidget*>(korvel::test::MinReturnBox(*host.view)));
        QVERIFY(LabelWithText(form, "Cell"));

        // The mnemonics move the focus to their boxes.
        host.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.view.get()));
        korvel::test::CellBox(*host.view)->setFocus();
        QTest::keyClick(host.view.get(), Qt::Key_R, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(korvel::test::MinReturnBox(*host.view)));
        QTest::keyClick(host.view.get(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(korvel::test::AssetsBox(*host.view)));

        const QList<QWidget*> expected = {korvel::test::CellBox(*host.view), host.Grid().Widget(),
                                          korvel::test::AssetsBox(*host.view), korvel::test::PeriodsBox(*host.view),
                                          korvel::test::MinReturnBox(*host.view)};
        QWidget* widget = expected.front();
        for (qsizetype i = 1; i < expected.size(); ++i) {
            do
                widget = widget->nextInFocusChain();
            while (!(widget->focusPolicy() & Qt::TabFocus));
            QCOMPARE(widget, expected[i]);
        }
    }
};

KORVEL_TEST_MAIN(WorksheetFormTest)
#include "worksheet_form_test.moc"
