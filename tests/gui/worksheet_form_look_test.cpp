// The form in the main window: the menu bar does not take Min Return's focus
// away, the text boxes keep their keys, and read-only boxes look read-only.
#include "app_test_support.h"
#include "support/FormControls.h"
#include "support/GridTestSupport.h"
#include "worksheet_host.h"

#include "gui/app/MainFrame.h"
#include "gui/app/TavoApp.h"

#include <QImage>
#include <QMenuBar>
#include <QScrollBar>

using korvel::test::MessageBoxRecorder;
using korvel::test::WorksheetHost;

namespace {

using Tavo = korvel::apptest::StartedTavo;

// The colour inside a box, right of its (left-aligned) text and inside its frame.
QColor InsideColour(QWidget* box)
{
    const QImage image = box->grab().toImage();
    return image.pixelColor(image.width() - 4, image.height() / 2);
}

}  // namespace

class WorksheetFormLookTest : public QObject {
    Q_OBJECT

private slots:
    // Alt alone enters the menu bar; Min Return is left only when the focus
    // goes on to another control.
    void theMenuBarDoesNotTakeMinReturnsFocus()
    {
        Tavo tavo;
        MessageBoxRecorder boxes;
        QLineEdit* field = korvel::test::MinReturnBox(*tavo.view);
        tavo.view->SetMinReturnBytes(std::string(25, '7'));
        tavo.view->UpdateData(false);
        field->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));

        QTest::keyClick(field, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tavo.frame->menuBar()));
        QVERIFY(boxes.requests.empty());

        // Esc gives the focus back to the field: still nothing to check.
        QTest::keyClick(tavo.frame->menuBar(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
        QVERIFY(boxes.requests.empty());

        // From the menu bar straight on to the Cell box: the field was left.
        QTest::keyClick(field, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::processEvents();
        korvel::test::CellBox(*tavo.view)->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(boxes.LastText().contains("20"));
    }

    void keysInTheTextBoxesDoNotScrollTheForm()
    {
        WorksheetHost host;
        host.view->resize(500, 200);
        host.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.view.get()));
        QScrollBar* bar = host.view->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        host.SetShares(30);

        const struct {
            QLineEdit* box;
            Qt::Key key;
        } presses[] = {
            {host.CellEdit(), Qt::Key_PageDown},
            {korvel::test::MinReturnBox(*host.view), Qt::Key_Down},
            {korvel::test::MinReturnBox(*host.view), Qt::Key_PageDown},
            {korvel::test::AssetsBox(*host.view), Qt::Key_PageDown},
        };
        for (const auto& press : presses) {
            bar->setValue(0);
            press.box->setFocus();
            QTest::keyClick(press.box, press.key);
            QCOMPARE(bar->value(), 0);
        }
        // The Cell box's Down still moves the row, and its scroll bar still scrolls.
        host.CellEdit()->setFocus();
        QTest::keyClick(host.CellEdit(), Qt::Key_Down);
        QCOMPARE(host.Grid().GetRow(), 2);
        bar->setValue(bar->maximum());
        QCOMPARE(bar->value(), bar->maximum());
    }

    void readOnlyBoxesAreDrawnOnTheWindowBackground()
    {
        WorksheetHost host;
        host.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.view.get()));
        const QColor window = host.view->widget()->palette().color(QPalette::Window);
        const QColor editable = InsideColour(korvel::test::MinReturnBox(*host.view));
        QVERIFY(editable != window);
        QCOMPARE(InsideColour(host.CellEdit()), editable);
        QCOMPARE(InsideColour(korvel::test::AssetsBox(*host.view)), window);
        QCOMPARE(InsideColour(korvel::test::PeriodsBox(*host.view)), window);
    }
};

KORVEL_TEST_MAIN(WorksheetFormLookTest)
#include "worksheet_form_look_test.moc"
