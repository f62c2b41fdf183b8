// The accelerators reach the frame's commands wherever the keyboard focus is
// in the main window, a text box of the form included, which would otherwise
// keep Ctrl+C, Ctrl+Z, Shift+Del and the like for itself; a disabled command
// ignores its keys.
#include "gui/app_test_support.h"
#include "support/FormControls.h"
#include "support/GridTestSupport.h"

#include "gui/resources/CommandIds.h"
#include "gui/worksheet/TavoView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

using namespace korvel;
using korvel::apptest::RecordedBoxes;
using korvel::apptest::ShownFrame;

namespace {

// A form text box holding "12345" with "234" selected, an undo step behind
// it, and text on the clipboard: every Edit command is enabled.
QLineEdit* PrepareMinReturnBox(ShownFrame& shown)
{
    QLineEdit* box = korvel::test::MinReturnBox(*shown.frame.GetActiveView());
    shown.frame.activateWindow();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("12345"));
    box->setSelection(1, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    shown.frame.UpdateCommandStates();
    return box;
}

}  // namespace

class FrameAcceleratorsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<RecordedBoxes> m_boxes;

private slots:
    void init()
    {
        m_boxes = std::make_unique<RecordedBoxes>();
        SetFileDialogPresenter([](QWidget*, FileDialogKind, const QString&) { return QString(); });
    }

    void cleanup()
    {
        SetFileDialogPresenter({});
        m_boxes.reset();
    }

    void everyAcceleratorWorksFromATextBox_data()
    {
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<int>("command");
        QTest::newRow("Ctrl+N") << (Qt::CTRL | Qt::Key_N) << int(ID_FILE_NEW);
        QTest::newRow("Ctrl+O") << (Qt::CTRL | Qt::Key_O) << int(ID_FILE_OPEN);
        QTest::newRow("Ctrl+S") << (Qt::CTRL | Qt::Key_S) << int(ID_FILE_SAVE);
        QTest::newRow("Ctrl+Z") << (Qt::CTRL | Qt::Key_Z) << int(ID_EDIT_UNDO);
        QTest::newRow("Alt+Backspace") << (Qt::ALT | Qt::Key_Backspace) << int(ID_EDIT_UNDO);
        QTest::newRow("Ctrl+X") << (Qt::CTRL | Qt::Key_X) << int(ID_EDIT_CUT);
        QTest::newRow("Shift+Del") << (Qt::SHIFT | Qt::Key_Delete) << int(ID_EDIT_CUT);
        QTest::newRow("Ctrl+C") << (Qt::CTRL | Qt::Key_C) << int(ID_EDIT_COPY);
        QTest::newRow("Ctrl+Ins") << (Qt::CTRL | Qt::Key_Insert) << int(ID_EDIT_COPY);
        QTest::newRow("Ctrl+V") << (Qt::CTRL | Qt::Key_V) << int(ID_EDIT_PASTE);
        QTest::newRow("Shift+Ins") << (Qt::SHIFT | Qt::Key_Insert) << int(ID_EDIT_PASTE);
        QTest::newRow("Ctrl+G") << (Qt::CTRL | Qt::Key_G) << int(ID_GO);
        QTest::newRow("Ctrl+Y") << (Qt::CTRL | Qt::Key_Y) << int(ID_ANALYSE);
        QTest::newRow("Ctrl+I") << (Qt::CTRL | Qt::Key_I) << int(ID_INSERT_SHARE);
        QTest::newRow("Ctrl+D") << (Qt::CTRL | Qt::Key_D) << int(ID_DELETE_SHARE);
    }

    void everyAcceleratorWorksFromATextBox()
    {
        QFETCH(QKeyCombination, keys);
        QFETCH(int, command);
        ShownFrame shown;
        QVERIFY(shown.Show());
        QLineEdit* box = PrepareMinReturnBox(shown);
        QSignalSpy triggered(shown.frame.CommandAction(command), &QAction::triggered);
        QSignalSpy application(&shown.frame, &CMainFrame::ApplicationCommand);

        QTest::keyClick(box, keys.key(), keys.keyboardModifiers());
        QCOMPARE(triggered.count(), 1);
        if (command == ID_FILE_NEW || command == ID_FILE_OPEN)
            QCOMPARE(application.value(0).value(0).toInt(), command);
    }

    void editKeysActThroughTheFrameNotTheBox()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        QLineEdit* box = PrepareMinReturnBox(shown);
        shown.document.SetModifiedFlag(false);

        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("15"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("234"));
        // The frame's Cut marks the document modified; the box's own would not.
        QVERIFY(shown.document.IsModified());
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12345"));
    }

    void disabledCommandsIgnoreTheirKeys()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        QLineEdit* box = PrepareMinReturnBox(shown);
        box->deselect();
        shown.document.SetModifiedFlag(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QSignalSpy copied(shown.frame.CommandAction(ID_EDIT_COPY), &QAction::triggered);
        QSignalSpy saved(shown.frame.CommandAction(ID_FILE_SAVE), &QAction::triggered);

        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(copied.count(), 0);
        QCOMPARE(saved.count(), 0);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(box->text(), QStringLiteral("12345"));
    }

    void keysOfOtherWindowsAreLeftAlone()
    {
        ShownFrame shown;
        QVERIFY(shown.Show());
        QLineEdit other;
        other.setText(QStringLiteral("abc"));
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.activateWindow();
        other.setFocus();
        other.selectAll();
        QSignalSpy copied(shown.frame.CommandAction(ID_EDIT_COPY), &QAction::triggered);
        QTest::keyClick(&other, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(copied.count(), 0);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
    }
};

KORVEL_TEST_MAIN(FrameAcceleratorsTest)
#include "frame_accelerators_test.moc"
