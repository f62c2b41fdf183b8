// The main frame's toolbars and status bar: buttons and their images, the
// docking rows, the View toggles with their check marks, the fly-by prompt,
// the lock-key panes, and the Single analysis window's life with the frame.
#include "gui/app_test_support.h"
#include "support/FormControls.h"
#include "support/GridTestSupport.h"

#include "gui/app/LockKeyIndicators.h"
#include "gui/framework/CmdUI.h"
#include "gui/resources/CommandIds.h"
#include "gui/worksheet/TavoView.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <memory>

using namespace korvel;
using korvel::apptest::RecordedBoxes;
using korvel::apptest::ShownFrame;

namespace {

QList<int> ButtonIds(QToolBar* bar)
{
    QList<int> ids;
    for (QAction* action : bar->actions())
        ids.append(action->isSeparator() ? 0 : action->data().toInt());
    return ids;
}

bool Checked(CMainFrame& frame, int id)
{
    // The check marks are asked for when the View menu opens.
    for (QAction* menu : frame.menuBar()->actions()) {
        if (menu->text() == QStringLiteral("&View"))
            emit menu->menu()->aboutToShow();
    }
    return frame.CommandAction(id)->isChecked();
}

// An X server's lock indicators as the test sets them.
struct FakeLockQuery : X11LockQuery {
    explicit FakeLockQuery(LockStates* server) : server(server) {}
    bool Query(LockStates& states) override
    {
        states = *server;
        return true;
    }
    LockStates* server;
};

}  // namespace

class FrameBarsTest : public QObject {
    Q_OBJECT

private slots:
    void toolbarsHoldTheirButtonsInRowsAtTheTop()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        QToolBar* main = shown.frame.MainToolBar();
        QToolBar* action = shown.frame.ActionToolBar();
        QCOMPARE(ButtonIds(main), (QList<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                                              ID_EDIT_PASTE, 0, ID_APP_ABOUT}));
        QCOMPARE(ButtonIds(action),
                 (QList<int>{ID_GO, ID_DELETE_PERIOD, 0, ID_ANALYSE, 0, ID_INSERT_SHARE, ID_DELETE_SHARE}));
        QCOMPARE(main->iconSize(), QSize(16, 15));
        QCOMPARE(action->iconSize(), QSize(16, 16));
        for (QToolBar* bar : {main, action}) {
            QVERIFY(bar->isMovable());  // the gripper
            QVERIFY(bar->isFloatable());
            QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
            QCOMPARE(shown.frame.toolBarArea(bar), Qt::TopToolBarArea);
            for (QAction* button : bar->actions()) {
                if (button->isSeparator())
                    continue;
                const QSize image = button->icon().availableSizes().value(0);
                QCOMPARE(image, bar->iconSize());
                QVERIFY(qobject_cast<QToolButton*>(bar->widgetForAction(button))->autoRaise());  // flat
            }
        }
        // Each in a row of its own: the main toolbar first, the action toolbar below.
        QVERIFY(shown.frame.toolBarBreak(action));
        QVERIFY(action->geometry().top() >= main->geometry().bottom());
        QCOMPARE(action->geometry().left(), main->geometry().left());
        // Toolbars have no context menu of their own.
        QVERIFY(!shown.frame.createPopupMenu());
    }

    void hoveringGoShowsItsPromptAndTooltip()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        QWidget* go = shown.frame.ActionToolBar()->widgetForAction(shown.frame.CommandAction(ID_GO));
        QCOMPARE(shown.frame.MessagePane()->text(), QStringLiteral("Ready"));
        QTest::mouseMove(go, go->rect().center());
        QTRY_COMPARE(shown.frame.StatusBar()->currentMessage(), QStringLiteral("Start finding solution"));
        QHelpEvent help(QEvent::ToolTip, go->rect().center(), go->mapToGlobal(go->rect().center()));
        QApplication::sendEvent(go, &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral(" Go"));
        QToolTip::hideText();
        // Away from the buttons, the message pane says "Ready" again.
        QTest::mouseMove(shown.frame.GetActiveView(), QPoint(5, 5));
        QTRY_COMPARE(shown.frame.StatusBar()->currentMessage(), QString());
        QVERIFY(shown.frame.MessagePane()->isVisible());
    }

    void viewTogglesShowAndHideTheirBarsWithCheckMarks()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        CMainFrame& frame = shown.frame;
        QToolBar* main = frame.MainToolBar();
        QToolBar* action = frame.ActionToolBar();
        QVERIFY(Checked(frame, ID_TOGGLE_ACTION_BAR) && Checked(frame, ID_VIEW_TOOLBAR)
                && Checked(frame, ID_VIEW_STATUS_BAR));
        const QRect place = action->geometry();

        frame.CommandAction(ID_TOGGLE_ACTION_BAR)->trigger();
        QVERIFY(!action->isVisible());
        QVERIFY(main->isVisible());
        QVERIFY(!Checked(frame, ID_TOGGLE_ACTION_BAR));
        frame.CommandAction(ID_TOGGLE_ACTION_BAR)->trigger();
        QVERIFY(action->isVisible());
        QVERIFY(Checked(frame, ID_TOGGLE_ACTION_BAR));
        QTRY_COMPARE(action->geometry(), place);  // back in its previous place

        frame.CommandAction(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!main->isVisible());
        QVERIFY(action->isVisible());
        QVERIFY(!Checked(frame, ID_VIEW_TOOLBAR));
        QVERIFY(Checked(frame, ID_TOGGLE_ACTION_BAR));

        frame.CommandAction(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!frame.StatusBar()->isVisible());
        QVERIFY(!Checked(frame, ID_VIEW_STATUS_BAR));
        frame.CommandAction(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(frame.StatusBar()->isVisible());
        QVERIFY(Checked(frame, ID_VIEW_STATUS_BAR));

        // The handlers themselves, as the command table names them.
        frame.OnToggleActionBar();
        CCmdUI check(frame.CommandAction(ID_TOGGLE_ACTION_BAR));
        frame.OnUpdateToggleActionBar(&check);
        QVERIFY(!frame.CommandAction(ID_TOGGLE_ACTION_BAR)->isChecked());
    }

    void barVisibilityIsNotCarriedToTheNextFrame()
    {
        {
            ShownFrame first;
            QVERIFY(first.Show());
            first.frame.CommandAction(ID_VIEW_TOOLBAR)->trigger();
            first.frame.CommandAction(ID_TOGGLE_ACTION_BAR)->trigger();
            first.frame.CommandAction(ID_VIEW_STATUS_BAR)->trigger();
        }
        ShownFrame second;
        QVERIFY(second.Show());
        QVERIFY(second.frame.MainToolBar()->isVisible());
        QVERIFY(second.frame.ActionToolBar()->isVisible());
        QVERIFY(second.frame.StatusBar()->isVisible());
    }

    void lockPanesFollowTheLockKeys()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        LockKeyIndicators* indicators = shown.frame.Indicators();
        QLabel* caps = indicators->Pane(0);
        QLabel* num = indicators->Pane(1);
        QLabel* scroll = indicators->Pane(2);
        const int width = caps->width();
        QCOMPARE(caps->text(), QString());
        QTest::keyClick(shown.frame.windowHandle(), Qt::Key_CapsLock);
        QCOMPARE(caps->text(), QStringLiteral("CAP"));
        QTest::keyClick(shown.frame.windowHandle(), Qt::Key_NumLock);
        QTest::keyClick(shown.frame.windowHandle(), Qt::Key_ScrollLock);
        QCOMPARE(num->text(), QStringLiteral("NUM"));
        QCOMPARE(scroll->text(), QStringLiteral("SCRL"));
        QTest::keyClick(shown.frame.windowHandle(), Qt::Key_CapsLock);
        QCOMPARE(caps->text(), QString());
        QCOMPARE(caps->width(), width);  // a pane keeps its place when empty
        // Left to right after the message pane: CAP, NUM, SCRL.
        QVERIFY(shown.frame.MessagePane()->geometry().right() < caps->geometry().left());
        QVERIFY(caps->geometry().right() < num->geometry().left());
        QVERIFY(num->geometry().right() < scroll->geometry().left());
    }

    void scrollPaneFollowsTheKeyWhereNoIndicatorIsDriven()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        LockKeyIndicators* indicators = shown.frame.Indicators();
        QLabel* caps = indicators->Pane(0);
        QLabel* scroll = indicators->Pane(2);
        QWindow* window = shown.frame.windowHandle();
        LockStates server;
        indicators->SetLockQuery(std::make_unique<FakeLockQuery>(&server));

        // The server drives Caps Lock but never lights Scroll Lock.
        server.caps = true;
        QTest::keyClick(window, Qt::Key_CapsLock);
        QCOMPARE(caps->text(), QStringLiteral("CAP"));
        QTest::keyClick(window, Qt::Key_ScrollLock);
        QCOMPARE(scroll->text(), QStringLiteral("SCRL"));
        indicators->Refresh();  // as when the program is activated again
        QCOMPARE(scroll->text(), QStringLiteral("SCRL"));
        QTest::keyClick(window, Qt::Key_ScrollLock);
        QCOMPARE(scroll->text(), QString());
        QCOMPARE(caps->text(), QStringLiteral("CAP"));

        // Where the server does drive it, the server decides, once per press.
        indicators->SetLockQuery(std::make_unique<FakeLockQuery>(&server));
        server.scroll = true;
        QTest::keyClick(window, Qt::Key_ScrollLock);
        QCOMPARE(scroll->text(), QStringLiteral("SCRL"));
        server.scroll = false;
        QTest::keyClick(window, Qt::Key_ScrollLock);
        QCOMPARE(scroll->text(), QString());
    }

    void analyseShowsTheOneSingleAnalysisWindow()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        CAnalysisDialog& analysis = shown.frame.AnalysisDialog();
        QVERIFY(!analysis.isVisible());
        QVERIFY(!analysis.parentWidget());

        shown.frame.CommandAction(ID_ANALYSE)->trigger();
        QVERIFY(analysis.isVisible());
        QVERIFY(!analysis.isMinimized());
        analysis.showMinimized();
        shown.frame.OnAnalyse();
        QVERIFY(analysis.isVisible() && !analysis.isMinimized());
        analysis.hide();
        shown.frame.OnAnalyse();
        QVERIFY(analysis.isVisible());

        // An ordinary window of its own, owned by nobody: the main window can
        // come in front of it, and Analyse brings it to the front again.
        QVERIFY(QTest::qWaitForWindowExposed(&analysis));
        QCOMPARE(analysis.windowType(), Qt::Window);
        QVERIFY(!analysis.windowHandle()->transientParent());
        shown.frame.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &shown.frame);
        shown.frame.OnAnalyse();
        QTRY_COMPARE(QApplication::activeWindow(), &analysis);
    }

    void closingTheFrameAsksToSaveAndTakesTheAnalysisWindowAlong()
    {
        RecordedBoxes boxes;
        ShownFrame shown;
        QVERIFY(shown.Show());
        QSignalSpy closed(&shown.frame, &CMainFrame::Closed);
        shown.frame.OnAnalyse();
        shown.document.SetModifiedFlag(true);

        boxes.answers.push_back(IDCANCEL);
        QVERIFY(!shown.frame.close());
        QCOMPARE(boxes.requests.size(), size_t(1));
        QCOMPARE(boxes.requests.back().buttons, MbButtons::YesNoCancel);
        QVERIFY(shown.frame.isVisible());
        QVERIFY(shown.frame.AnalysisDialog().isVisible());
        QCOMPARE(closed.count(), 0);

        boxes.answers.push_back(IDNO);
        shown.frame.CommandAction(ID_APP_EXIT)->trigger();
        QVERIFY(!shown.frame.isVisible());
        QVERIFY(!shown.frame.AnalysisDialog().isVisible());
        QCOMPARE(closed.count(), 1);
    }

    // Focus moves while a frame's widgets go, and the document and the
    // clipboard outlive it: none of their signals may reach the frame then.
    // (Undefined behaviour that the sanitized run of this test catches.)
    void destroyingAShownFrameWithAFocusedTextBoxLeavesNothingBehind()
    {
        CTavoDoc document;
        auto frame = std::make_unique<CMainFrame>();
        QVERIFY(frame->Create(&document) && document.FileNew());
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        frame->activateWindow();
        QLineEdit* edit = korvel::test::MinReturnBox(*frame->GetActiveView());
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));

        frame.reset();
        QLineEdit other;
        other.show();
        other.activateWindow();
        other.setFocus();
        document.SetModifiedFlag(true);
        QGuiApplication::clipboard()->setText(QStringLiteral("after"));
        QCoreApplication::processEvents();
        QVERIFY(document.IsModified());
    }
};

KORVEL_TEST_MAIN(FrameBarsTest)
#include "frame_bars_test.moc"
