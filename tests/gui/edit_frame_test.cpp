// The editing commands on the real main window: Delete Period, the enabled
// states the frame shows, and the accelerators while a text box has the focus.
#include "app_test_support.h"
#include "edit_fixture.h"
#include "support/FormControls.h"

#include "gui/app/MainFrame.h"
#include "gui/app/TavoApp.h"
#include "gui/resources/CommandIds.h"

#include <QAction>
#include <QClipboard>
#include <QSignalSpy>

using edit_test::AnsweredQuestions;
using namespace korvel;

namespace {

// Tavo as it starts, with the worksheet filled as the editing tests need it.
struct Tavo : korvel::apptest::StartedTavo {
    const CMSFlexGrid& Grid() const { return view->Grid(); }

    // Shares S1.. with returns "<row>.<period>", nothing modified.
    void Fill(int shares, int periods)
    {
        korvel::test::PeriodsBox(*view)->setText(QString::number(periods));
        korvel::test::AssetsBox(*view)->setText(QString::number(shares));
        for (int32_t row = 1; row <= shares; ++row) {
            view->SetCellBytes(row, 1, edit_test::NameOf(row));
            for (int32_t period = 1; period <= periods; ++period)
                view->SetCellBytes(row, period + 1, edit_test::ReturnOf(row, period));
        }
        doc->SetModifiedFlag(false);
    }

    void MoveTo(int32_t row, int32_t col)
    {
        view->MakeCurrent(row, col);
        view->LoadCellEdit();
    }

    bool Enabled(int id)
    {
        frame->UpdateCommandStates();
        return frame->CommandAction(id)->isEnabled();
    }

    void Focus(QWidget* widget)
    {
        widget->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
    }
};

struct Accelerator {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    int command;
};

const Accelerator kEditAccelerators[] = {
    {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, ID_EDIT_UNDO},
    {"Alt+Backspace", Qt::Key_Backspace, Qt::AltModifier, ID_EDIT_UNDO},
    {"Ctrl+X", Qt::Key_X, Qt::ControlModifier, ID_EDIT_CUT},
    {"Shift+Del", Qt::Key_Delete, Qt::ShiftModifier, ID_EDIT_CUT},
    {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, ID_EDIT_COPY},
    {"Ctrl+Ins", Qt::Key_Insert, Qt::ControlModifier, ID_EDIT_COPY},
    {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, ID_EDIT_PASTE},
    {"Shift+Ins", Qt::Key_Insert, Qt::ShiftModifier, ID_EDIT_PASTE},
};

}  // namespace

class EditFrameTest : public QObject {
    Q_OBJECT
private slots:
    void deletePeriodMovesEveryReturnOneColumnLeft_data();
    void deletePeriodMovesEveryReturnOneColumnLeft();
    void deletePeriodAnsweredNoChangesNothing();
    void theFrameShowsTheEditStatesOfTheFocusedBox();
    void editAcceleratorsReachTheCommandsOnce_data();
    void editAcceleratorsReachTheCommandsOnce();
    void shareAcceleratorsWorkFromEveryTextBox_data();
    void shareAcceleratorsWorkFromEveryTextBox();
    void cutKeysOnAReadOnlyBoxMarkTheDocument();
};

void EditFrameTest::deletePeriodMovesEveryReturnOneColumnLeft_data()
{
    QTest::addColumn<int>("periods");
    QTest::addColumn<int>("currentCol");
    QTest::newRow("3 periods, first period current") << 3 << 2;
    QTest::newRow("10 periods, last period current") << 10 << 11;
    QTest::newRow("3 periods, name current") << 3 << 1;
}

void EditFrameTest::deletePeriodMovesEveryReturnOneColumnLeft()
{
    QFETCH(int, periods);
    QFETCH(int, currentCol);
    AnsweredQuestions questions;
    Tavo tavo;
    tavo.Fill(2, periods);
    tavo.view->SetCellBytes(1, 2, "0.1");
    tavo.view->SetCellBytes(1, 3, "0.2");
    tavo.view->SetCellBytes(1, 4, "0.3");
    tavo.MoveTo(1, currentCol);

    tavo.frame->CommandAction(ID_DELETE_PERIOD)->trigger();

    QCOMPARE(questions.asked.size(), size_t(1));
    const MessageBoxRequest& asked = questions.asked[0];
    QCOMPARE(asked.text, QStringLiteral("Are you sure \ndeleting the first period ?"));
    QCOMPARE(asked.caption, QStringLiteral("Question"));
    QCOMPARE(asked.buttons, MbButtons::YesNo);
    QCOMPARE(asked.icon, MbIcon::Question);
    QCOMPARE(asked.owner, static_cast<QWidget*>(tavo.frame));

    const CMSFlexGrid& grid = tavo.Grid();
    QCOMPARE(grid.GetCols(), periods + 2);
    QCOMPARE(grid.GetTextMatrix(0, 0), std::string("No"));
    QCOMPARE(grid.GetTextMatrix(0, 1), std::string("Name"));
    for (int32_t period = 1; period <= periods; ++period)
        QCOMPARE(grid.GetTextMatrix(0, period + 1), "R" + std::to_string(period));
    for (int32_t row = 1; row <= 2; ++row) {
        QCOMPARE(grid.GetTextMatrix(row, 0), std::to_string(row));
        QCOMPARE(grid.GetTextMatrix(row, 1), edit_test::NameOf(row));
        QCOMPARE(grid.GetTextMatrix(row, periods + 1), std::string());
    }
    QCOMPARE(grid.GetTextMatrix(1, 2), std::string("0.2"));
    QCOMPARE(grid.GetTextMatrix(1, 3), std::string("0.3"));
    for (int32_t period = 1; period < periods; ++period)
        QCOMPARE(grid.GetTextMatrix(2, period + 1), edit_test::ReturnOf(2, period + 1));
    QCOMPARE(korvel::test::CellBox(*tavo.view)->text(), QString::fromStdString(grid.GetText()));
    QVERIFY(tavo.doc->IsModified());
}

void EditFrameTest::deletePeriodAnsweredNoChangesNothing()
{
    AnsweredQuestions questions(IDNO);
    Tavo tavo;
    tavo.Fill(2, 3);
    tavo.MoveTo(2, 2);

    tavo.frame->OnDeletePeriod();

    QCOMPARE(questions.asked.size(), size_t(1));
    for (int32_t row = 1; row <= 2; ++row)
        for (int32_t period = 1; period <= 3; ++period)
            QCOMPARE(tavo.Grid().GetTextMatrix(row, period + 1), edit_test::ReturnOf(row, period));
    QCOMPARE(korvel::test::CellBox(*tavo.view)->text(), QStringLiteral("2.1"));
    QVERIFY(!tavo.doc->IsModified());
}

void EditFrameTest::theFrameShowsTheEditStatesOfTheFocusedBox()
{
    Tavo tavo;
    tavo.Fill(1, 3);
    tavo.MoveTo(1, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));

    tavo.Focus(tavo.Grid().Widget());
    for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        QVERIFY(!tavo.Enabled(id));

    tavo.Focus(korvel::test::CellBox(*tavo.view));
    korvel::test::CellBox(*tavo.view)->deselect();
    QVERIFY(!tavo.Enabled(ID_EDIT_CUT));
    QVERIFY(!tavo.Enabled(ID_EDIT_COPY));
    QVERIFY(tavo.Enabled(ID_EDIT_PASTE));
    QVERIFY(!tavo.Enabled(ID_EDIT_UNDO));

    // The toolbar buttons follow a new selection without a menu being opened.
    korvel::test::CellBox(*tavo.view)->selectAll();
    QCoreApplication::processEvents();
    QVERIFY(tavo.frame->CommandAction(ID_EDIT_COPY)->isEnabled());
    QVERIFY(tavo.frame->CommandAction(ID_EDIT_CUT)->isEnabled());

    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    QVERIFY(!tavo.frame->CommandAction(ID_EDIT_PASTE)->isEnabled());
}

void EditFrameTest::editAcceleratorsReachTheCommandsOnce_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kEditAccelerators)); ++i)
        QTest::newRow(kEditAccelerators[i].name) << i;
}

void EditFrameTest::editAcceleratorsReachTheCommandsOnce()
{
    QFETCH(int, index);
    const Accelerator& accelerator = kEditAccelerators[index];
    Tavo tavo;
    tavo.Fill(1, 3);
    tavo.MoveTo(1, 1);
    CCellEdit* box = korvel::test::CellBox(*tavo.view);
    tavo.Focus(box);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
    // "S1" becomes "S1x" by typing, so that there is something to undo; "1x"
    // is selected for Cut and Copy; the clipboard holds "clip".
    QTest::keyClick(box, Qt::Key_X);
    box->setSelection(1, 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    tavo.doc->SetModifiedFlag(false);
    QSignalSpy ran(tavo.frame->CommandAction(accelerator.command), &QAction::triggered);

    QTest::keyPress(box, Qt::Key(accelerator.key), accelerator.modifiers);

    QCOMPARE(ran.count(), 1);
    const QString clipboard = QGuiApplication::clipboard()->text();
    switch (accelerator.command) {
    case ID_EDIT_UNDO:
        QCOMPARE(box->text(), QStringLiteral("S1"));
        QVERIFY(tavo.doc->IsModified());
        break;
    case ID_EDIT_CUT:
        QCOMPARE(clipboard, QStringLiteral("1x"));
        QCOMPARE(box->text(), QStringLiteral("S"));
        QVERIFY(tavo.doc->IsModified());
        break;
    case ID_EDIT_COPY:
        QCOMPARE(clipboard, QStringLiteral("1x"));
        QCOMPARE(box->text(), QStringLiteral("S1x"));
        QVERIFY(!tavo.doc->IsModified());
        break;
    case ID_EDIT_PASTE:
        // Pasted once, by the command, not again by the box itself.
        QCOMPARE(box->text(), QStringLiteral("Sclip"));
        QVERIFY(tavo.doc->IsModified());
        break;
    }
    QCOMPARE(tavo.Grid().GetTextMatrix(1, 1), box->text().toStdString());
    QTest::keyRelease(box, Qt::Key(accelerator.key), accelerator.modifiers);
}

void EditFrameTest::shareAcceleratorsWorkFromEveryTextBox_data()
{
    QTest::addColumn<int>("box");
    QTest::newRow("Cell") << 0;
    QTest::newRow("Assets") << 1;
    QTest::newRow("Min Return") << 2;
}

void EditFrameTest::shareAcceleratorsWorkFromEveryTextBox()
{
    QFETCH(int, box);
    AnsweredQuestions questions;
    Tavo tavo;
    tavo.Fill(3, 3);
    tavo.MoveTo(2, 2);
    QLineEdit* boxes[] = {korvel::test::CellBox(*tavo.view), korvel::test::AssetsBox(*tavo.view),
                          korvel::test::MinReturnBox(*tavo.view)};
    tavo.Focus(boxes[box]);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(boxes[box]));

    QTest::keyClick(boxes[box], Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(tavo.Grid().GetRows(), 5);
    QCOMPARE(tavo.Grid().GetTextMatrix(2, 1), std::string());
    QCOMPARE(tavo.Grid().GetTextMatrix(3, 1), std::string("S2"));

    QTest::keyClick(boxes[box], Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(questions.asked.size(), size_t(1));
    QCOMPARE(questions.asked[0].text, QStringLiteral("Delete  on row 2"));
    QCOMPARE(tavo.Grid().GetRows(), 4);
    QCOMPARE(tavo.Grid().GetTextMatrix(2, 1), std::string("S2"));
    QCOMPARE(korvel::test::AssetsBox(*tavo.view)->text(), QStringLiteral("3"));
}

void EditFrameTest::cutKeysOnAReadOnlyBoxMarkTheDocument()
{
    Tavo tavo;
    tavo.Fill(12, 3);
    QLineEdit* assets = korvel::test::AssetsBox(*tavo.view);
    tavo.Focus(assets);
    assets->selectAll();
    tavo.doc->SetModifiedFlag(false);

    QTest::keyClick(assets, Qt::Key_X, Qt::ControlModifier);

    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12"));
    QCOMPARE(assets->text(), QStringLiteral("12"));
    QCOMPARE(tavo.Grid().GetRows(), 13);
    QVERIFY(tavo.doc->IsModified());
}

KORVEL_TEST_MAIN(EditFrameTest)
#include "edit_frame_test.moc"
