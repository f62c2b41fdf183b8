// The main frame's menu bar: every item with its text, separators and the
// Action menu's second column, the prompts and tooltips of every command, and
// the menus' keyboard and mouse handling.
#include "gui/app_test_support.h"
#include "support/FormControls.h"
#include "support/GridTestSupport.h"

#include "gui/app/MenuColumns.h"
#include "gui/resources/CommandIds.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/TavoView.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

using namespace korvel;
using korvel::apptest::RecordedBoxes;
using korvel::apptest::ShownFrame;

namespace {

const QString kSeparator = QStringLiteral("----");

QStringList VisibleItems(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* action : actions) {
        if (action->isVisible())
            texts.append(action->isSeparator() ? kSeparator : action->text());
    }
    return texts;
}

QMenu* MenuTitled(CMainFrame& frame, const QString& title)
{
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

struct CommandString {
    int id;
    const char* prompt;
    const char* tooltip;  // null: the command has no button
};

// As the program has always stored them, blanks included.
const CommandString kCommandStrings[] = {
    {ID_FILE_NEW, "Create a new document", "New"},
    {ID_FILE_OPEN, "Open an existing document", "Open"},
    {ID_FILE_SAVE, "Save the active document", "Save"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name", nullptr},
    {ID_APP_EXIT, "Quit the application; prompts to save documents", nullptr},
    {ID_EDIT_UNDO, "Undo the last action", nullptr},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard", "Cut"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard", "Copy"},
    {ID_EDIT_PASTE, "Insert Clipboard contents", "Paste"},
    {ID_GO, "Start finding solution", " Go"},
    {ID_DELETE_PERIOD, "Move one period left", "Delete period"},
    {ID_ANALYSE, "Single analysis", "Analyse"},
    {ID_INSERT_SHARE, "Insert new share", "Insert share"},
    {ID_DELETE_SHARE, "Delete a share", "Del share"},
    {ID_VIEW_TOOLBAR, "Show or hide the main toolbar", nullptr},
    {ID_TOGGLE_ACTION_BAR, "Show or hide  the action toolbar", nullptr},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar", nullptr},
    {ID_APP_ABOUT, "Display program information, version number and copyright", "About"},
};

// The four text boxes of the form, as the keyboard user reaches them.
struct FormBox {
    const char* name;
    QLineEdit* (*box)(CTavoView&);
    bool typedInto;  // read-only boxes take no typing, so have nothing to undo
};

const FormBox kFormBoxes[] = {
    {"Cell", [](CTavoView& view) -> QLineEdit* { return korvel::test::CellBox(view); }, true},
    {"Assets", [](CTavoView& view) { return korvel::test::AssetsBox(view); }, false},
    {"Periods", [](CTavoView& view) { return korvel::test::PeriodsBox(view); }, false},
    {"Min Return", [](CTavoView& view) { return korvel::test::MinReturnBox(view); }, true},
};

// Undo, Cut, Copy and Paste, as the open Edit menu shows them.
QList<bool> EditStates(CMainFrame& frame)
{
    QList<bool> states;
    for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        states.append(frame.CommandAction(id)->isEnabled());
    return states;
}

// A box with the focus, a change to undo where it takes one, all its text
// selected, and text on the clipboard: every Edit command has its use.
QLineEdit* PrepareBox(CTavoView& view, const FormBox& which)
{
    QLineEdit* box = which.box(view);
    box->setFocus(Qt::MouseFocusReason);
    if (which.typedInto)
        QTest::keyClicks(box, "12");
    box->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("0.5"));
    QCoreApplication::processEvents();
    return box;
}

QToolButton* ButtonOf(CMainFrame& frame, int id)
{
    QAction* action = frame.CommandAction(id);
    for (QToolBar* bar : {frame.MainToolBar(), frame.ActionToolBar()}) {
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            return button;
    }
    return nullptr;
}

}  // namespace

class FrameMenusTest : public QObject {
    Q_OBJECT

private slots:
    void menuBarHoldsEveryItemAsStored()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        CMainFrame& frame = shown.frame;
        QStringList titles;
        for (QAction* action : frame.menuBar()->actions())
            titles.append(action->text());
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Action", "&View", "&Help"}));

        QCOMPARE(VisibleItems(MenuTitled(frame, "&File")->actions()),
                 (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", kSeparator,
                              "Recent File", kSeparator, "E&xit"}));
        QCOMPARE(VisibleItems(MenuTitled(frame, "&Edit")->actions()),
                 (QStringList{"&Undo", kSeparator, "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V"}));
        QCOMPARE(VisibleItems(MenuTitled(frame, "&View")->actions()),
                 (QStringList{"Main &Toolbar", "Action Tool&bar", "&Status Bar"}));
        QCOMPARE(VisibleItems(MenuTitled(frame, "&Help")->actions()), QStringList{"A&bout Korvel..."});

        // The Action menu: two columns side by side, a bar between them.
        QMenu* action = MenuTitled(frame, "&Action");
        QCOMPARE(action->actions().size(), 1);
        MenuColumnsWidget* columns = frame.ActionMenuColumns();
        QVERIFY(columns);
        QCOMPARE(columns->Columns().size(), 2);
        QCOMPARE(VisibleItems(columns->Columns()[0]),
                 (QStringList{"&Go\tCtrl+G", "De&lete Period", kSeparator, "Anal&yse\tCtrl+Y"}));
        QCOMPARE(VisibleItems(columns->Columns()[1]), (QStringList{"&Insert share\tCtrl+I", "&Delete share\tCtrl+D"}));
        const QRect go = columns->ItemRect(frame.CommandAction(ID_GO));
        const QRect insert = columns->ItemRect(frame.CommandAction(ID_INSERT_SHARE));
        QCOMPARE(insert.top(), go.top());
        QVERIFY(insert.left() > go.right() + 1);  // room for the bar
    }

    void everyCommandCarriesItsPromptAndTooltip()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        for (const CommandString& expected : kCommandStrings) {
            QAction* action = shown.frame.CommandAction(expected.id);
            QVERIFY2(action, qPrintable(QString::number(expected.id)));
            QCOMPARE(action->statusTip(), QString::fromLatin1(expected.prompt));
            QToolButton* button = ButtonOf(shown.frame, expected.id);
            QCOMPARE(button != nullptr, expected.tooltip != nullptr);
            if (button) {
                QCOMPARE(button->toolTip(), QString::fromLatin1(expected.tooltip));
                QCOMPARE(button->statusTip(), QString::fromLatin1(expected.prompt));
            }
        }
        for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id)
            QCOMPARE(shown.frame.CommandAction(id)->statusTip(), QStringLiteral("Open this document"));
    }

    void hoveringAMenuItemShowsItsPromptUntilTheMenuCloses()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        QStatusBar* status = shown.frame.StatusBar();
        QMenu* file = MenuTitled(shown.frame, "&File");
        file->popup(shown.frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QTest::mouseMove(file, file->actionGeometry(shown.frame.CommandAction(ID_FILE_SAVE_AS)).center());
        QTRY_COMPARE(status->currentMessage(), QStringLiteral("Save the active document with a new name"));
        QVERIFY(!shown.frame.MessagePane()->isVisible());
        file->hide();
        QTRY_COMPARE(status->currentMessage(), QString());
        QVERIFY(shown.frame.MessagePane()->isVisible());
        QCOMPARE(shown.frame.MessagePane()->text(), QStringLiteral("Ready"));
    }

    void greyedItemsShowTheirPromptsAndTakeTheKeys()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        CMainFrame& frame = shown.frame;
        QStatusBar* status = frame.StatusBar();
        QMenu* file = MenuTitled(frame, "&File");
        file->popup(frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QAction* save = frame.CommandAction(ID_FILE_SAVE);
        QVERIFY(!save->isEnabled());

        QTest::mouseMove(file, file->actionGeometry(save).center());
        QTRY_COMPARE(status->currentMessage(), QStringLiteral("Save the active document"));
        QCOMPARE(file->activeAction(), save);
        QAction* recent = nullptr;
        for (QAction* action : file->actions()) {
            if (action->text() == QStringLiteral("Recent File"))
                recent = action;
        }
        QVERIFY(recent && !recent->isEnabled());
        QTest::mouseMove(file, file->actionGeometry(recent).center());
        QTRY_COMPARE(status->currentMessage(), QStringLiteral("Open this document"));

        // The keys stop on greyed items too; choosing one does nothing.
        QSignalSpy saved(save, &QAction::triggered);
        file->setActiveAction(frame.CommandAction(ID_FILE_OPEN));
        QTest::keyClick(file, Qt::Key_Down);
        QCOMPARE(file->activeAction(), save);
        QCOMPARE(status->currentMessage(), QStringLiteral("Save the active document"));
        QTest::keyClick(file, Qt::Key_Return);
        QCOMPARE(saved.count(), 0);
        file->hide();

        QMenu* edit = MenuTitled(frame, "&Edit");
        edit->popup(frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(edit));
        QAction* undo = frame.CommandAction(ID_EDIT_UNDO);
        QVERIFY(!undo->isEnabled());
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(edit->activeAction(), undo);
        QCOMPARE(status->currentMessage(), QStringLiteral("Undo the last action"));
        edit->hide();
    }

    void altAOpensTheActionMenuOnGo()
    {
        RecordedBoxes boxes;
        ShownFrame shown;
        QVERIFY(shown.Show());
        CMainFrame& frame = shown.frame;
        QMenu* menu = MenuTitled(frame, "&Action");
        frame.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &frame);

        QTest::keyClick(&frame, Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QTRY_COMPARE(frame.ActionMenuColumns()->SelectedAction(), frame.CommandAction(ID_GO));
        QCOMPARE(frame.StatusBar()->currentMessage(), QStringLiteral("Start finding solution"));

        // Enter runs Go: an empty Min Return is refused with its message.
        QTest::keyClick(menu, Qt::Key_Return);
        QVERIFY(!menu->isVisible());
        QCOMPARE(boxes.LastText(), QStringLiteral("Min Return must be positive value !"));

        // Opened with the mouse, nothing is selected until the pointer moves.
        menu->popup(frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QCOMPARE(frame.ActionMenuColumns()->SelectedAction(), nullptr);
        menu->hide();
    }

    void actionMenuColumnsAnswerTheMouse()
    {
        RecordedBoxes boxes;
        ShownFrame shown;
        QVERIFY(shown.Show());
        QMenu* menu = MenuTitled(shown.frame, "&Action");
        MenuColumnsWidget* columns = shown.frame.ActionMenuColumns();
        menu->popup(shown.frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));

        const QPoint insert = columns->ItemRect(shown.frame.CommandAction(ID_INSERT_SHARE)).center();
        QTest::mouseMove(columns, insert);
        QTRY_COMPARE(shown.frame.StatusBar()->currentMessage(), QStringLiteral("Insert new share"));
        QCOMPARE(columns->SelectedAction(), shown.frame.CommandAction(ID_INSERT_SHARE));

        QSignalSpy inserted(shown.frame.CommandAction(ID_INSERT_SHARE), &QAction::triggered);
        QTest::mouseClick(columns, Qt::LeftButton, {}, insert);
        QCOMPARE(inserted.count(), 1);
        QVERIFY(!menu->isVisible());
        QCOMPARE(shown.frame.GetActiveView()->Grid().GetRows(), 3);  // the view's handler ran
    }

    void actionMenuColumnsAnswerTheKeyboard()
    {
        RecordedBoxes boxes;
        boxes.answers = {IDNO, IDNO, IDNO};
        ShownFrame shown;
        QVERIFY(shown.Show());
        CMainFrame& frame = shown.frame;
        QMenu* menu = MenuTitled(frame, "&Action");
        MenuColumnsWidget* columns = frame.ActionMenuColumns();
        auto open = [&] {
            menu->popup(frame.mapToGlobal(QPoint(10, 10)));
            return QTest::qWaitForWindowExposed(menu);
        };

        QVERIFY(open());
        QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(columns->SelectedAction(), frame.CommandAction(ID_GO));
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);  // over the separator
        QCOMPARE(columns->SelectedAction(), frame.CommandAction(ID_ANALYSE));
        QCOMPARE(frame.StatusBar()->currentMessage(), QStringLiteral("Single analysis"));
        QTest::keyClick(menu, Qt::Key_Right);  // to the second column, nearest row
        QCOMPARE(columns->SelectedAction(), frame.CommandAction(ID_DELETE_SHARE));
        QTest::keyClick(menu, Qt::Key_Up);
        QCOMPARE(columns->SelectedAction(), frame.CommandAction(ID_INSERT_SHARE));
        QTest::keyClick(menu, Qt::Key_Left);
        QCOMPARE(columns->SelectedAction(), frame.CommandAction(ID_GO));

        QSignalSpy deleted(frame.CommandAction(ID_DELETE_SHARE), &QAction::triggered);
        QTest::keyClick(menu, Qt::Key_Right);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        QCOMPARE(deleted.count(), 1);
        QVERIFY(!menu->isVisible());

        // A mnemonic chooses its item at once: "y" of "Anal&yse".
        QVERIFY(open());
        QTest::keyClick(menu, Qt::Key_Y, {}, 10);
        QTRY_VERIFY(frame.AnalysisDialog().isVisible());
        QVERIFY(!menu->isVisible());
        frame.AnalysisDialog().hide();

        // "d" stands for Delete share only; "l" for De&lete Period.
        QSignalSpy period(frame.CommandAction(ID_DELETE_PERIOD), &QAction::triggered);
        QVERIFY(open());
        QTest::keyClick(menu, Qt::Key_L);
        QCOMPARE(period.count(), 1);
    }

    void editMenuFromTheKeysSeesTheBoxTheMouseSees_data()
    {
        QTest::addColumn<int>("box");
        for (int i = 0; i < int(std::size(kFormBoxes)); ++i)
            QTest::newRow(kFormBoxes[i].name) << i;
    }

    void editMenuFromTheKeysSeesTheBoxTheMouseSees()
    {
        QFETCH(int, box);
        const FormBox& which = kFormBoxes[box];
        ShownFrame shown;
        QVERIFY(shown.Show());
        CMainFrame& frame = shown.frame;
        frame.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &frame);
        QMenu* edit = MenuTitled(frame, "&Edit");
        QMenuBar* bar = frame.menuBar();
        QLineEdit* focused = PrepareBox(*frame.GetActiveView(), which);

        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit->menuAction()).center());
        QTRY_VERIFY(edit->isVisible());
        QCoreApplication::processEvents();
        const QList<bool> byMouse = EditStates(frame);
        QCOMPARE(byMouse, (QList<bool>{which.typedInto, true, true, true}));
        edit->hide();
        QTRY_COMPARE(QApplication::focusWidget(), focused);

        QTest::keyClick(focused, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(edit->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(EditStates(frame), byMouse);
        QTest::keyClick(edit, Qt::Key_Escape);
        QTest::keyClick(bar, Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), focused);
    }

    // Alt alone, or F10, shows where the keys are; leaving the bar gives the
    // box back its caret and its selection as they were.
    void menuBarKeysHighlightFileAndLeavingRestoresTheBox_data()
    {
        QTest::addColumn<int>("enter");
        QTest::addColumn<int>("leave");
        QTest::newRow("Alt, Esc") << int(Qt::Key_Alt) << int(Qt::Key_Escape);
        QTest::newRow("Alt, Alt") << int(Qt::Key_Alt) << int(Qt::Key_Alt);
        QTest::newRow("F10, Esc") << int(Qt::Key_F10) << int(Qt::Key_Escape);
    }

    void menuBarKeysHighlightFileAndLeavingRestoresTheBox()
    {
        QFETCH(int, enter);
        QFETCH(int, leave);
        const auto click = [](QWidget* widget, int key) {
            QTest::keyClick(widget, Qt::Key(key), key == Qt::Key_Alt ? Qt::AltModifier : Qt::NoModifier);
        };
        ShownFrame shown;
        QVERIFY(shown.Show());
        CMainFrame& frame = shown.frame;
        frame.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &frame);
        QMenuBar* bar = frame.menuBar();
        QAction* file = MenuTitled(frame, "&File")->menuAction();
        const QImage idle = bar->grab(bar->actionGeometry(file)).toImage();
        QLineEdit* box = korvel::test::MinReturnBox(*frame.GetActiveView());
        box->setFocus(Qt::MouseFocusReason);
        box->setText(QStringLiteral("0.125"));
        box->setSelection(4, -2);  // "12", the cursor after "0."

        click(box, enter);
        QCOMPARE(bar->activeAction(), file);
        QVERIFY(bar->grab(bar->actionGeometry(file)).toImage() != idle);

        click(bar, leave);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QCOMPARE(bar->activeAction(), nullptr);
        QCOMPARE(box->selectedText(), QStringLiteral("12"));
        QCOMPARE(box->cursorPosition(), 2);
    }

    void openingAMenuAsksForTheEnabledStates()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        QAction* save = shown.frame.CommandAction(ID_FILE_SAVE);
        QVERIFY(!save->isEnabled());
        const QSignalBlocker quiet(&shown.document);  // no notification: only the menu asks
        shown.document.SetModifiedFlag(true);
        QVERIFY(!save->isEnabled());
        emit MenuTitled(shown.frame, "&File")->aboutToShow();
        QVERIFY(save->isEnabled());
        QVERIFY(shown.frame.CommandAction(ID_FILE_SAVE_AS)->isEnabled());
    }
};

KORVEL_TEST_MAIN(FrameMenusTest)
#include "frame_menus_test.moc"
