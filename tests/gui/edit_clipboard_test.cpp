// Undo, Cut, Copy and Paste on the form's text boxes: their enabled states,
// what they do to the box and the cell, and the document's modified flag.
#include "edit_fixture.h"
#include "support/FormControls.h"

#include "gui/framework/CmdUI.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using edit_test::Form;

namespace {

struct EnabledStates {
    bool undo = false;
    bool copyCut = false;
    bool paste = false;
};

EnabledStates AskEnabledStates(CTavoView& view)
{
    QAction undo, copyCut, paste;
    // Start from the opposite of what each handler must report, so that a
    // handler that says nothing shows up.
    for (QAction* action : {&undo, &copyCut, &paste})
        action->setEnabled(true);
    korvel::CCmdUI undoUI(&undo), copyCutUI(&copyCut), pasteUI(&paste);
    view.OnUpdateEditUndo(&undoUI);
    view.OnUpdateEditCopyCut(&copyCutUI);
    view.OnUpdateEditPaste(&pasteUI);
    return {undo.isEnabled(), copyCut.isEnabled(), paste.isEnabled()};
}

QClipboard* Clipboard()
{
    return QGuiApplication::clipboard();
}

// A shown, active form whose cell (1, 1) holds "Alpha", not modified.
struct ShownForm : Form {
    ShownForm() : Form(2, 3)
    {
        view.SetCellBytes(1, 1, "Alpha");
        MoveTo(1, 1);
        view.show();
        view.activateWindow();
        if (!QTest::qWaitForWindowActive(&view))
            qWarning("the form did not become active");
        doc.SetModifiedFlag(false);
    }

    void Focus(QWidget* widget)
    {
        widget->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget(), widget);
    }
};

}  // namespace

class EditClipboardTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Clipboard()->setText(QStringLiteral("clip")); }

    void everyCommandIsDisabledWhileTheGridHasTheFocus();
    void copyAndCutNeedASelection();
    void pasteNeedsTextOnTheClipboard();
    void undoFollowsTheBox();
    void aTextBoxOutsideTheFormDisablesEverything();
    void cutTakesTheSelectionOutOfTheCellAndMarksTheDocument();
    void pasteWritesIntoTheCellAndMarksTheDocument();
    void undoMarksTheDocumentCopyLeavesItAlone();
    void readOnlyBoxesKeepTheirTextButCutAndPasteStillMark_data();
    void readOnlyBoxesKeepTheirTextButCutAndPasteStillMark();
    void commandsDoNothingWhenTheirStateSaysDisabled();
};

void EditClipboardTest::everyCommandIsDisabledWhileTheGridHasTheFocus()
{
    ShownForm form;
    form.Focus(form.grid.Widget());
    const EnabledStates states = AskEnabledStates(form.view);
    QVERIFY(!states.undo);
    QVERIFY(!states.copyCut);
    QVERIFY(!states.paste);
}

void EditClipboardTest::copyAndCutNeedASelection()
{
    ShownForm form;
    for (QLineEdit* box :
         {static_cast<QLineEdit*>(korvel::test::CellBox(form.view)), korvel::test::AssetsBox(form.view),
          korvel::test::PeriodsBox(form.view), korvel::test::MinReturnBox(form.view)}) {
        form.Focus(box);
        box->deselect();
        QVERIFY2(!AskEnabledStates(form.view).copyCut, qPrintable(box->objectName()));
        box->selectAll();
        QCOMPARE(AskEnabledStates(form.view).copyCut, !box->text().isEmpty());
    }
}

void EditClipboardTest::pasteNeedsTextOnTheClipboard()
{
    ShownForm form;
    form.Focus(korvel::test::CellBox(form.view));
    QVERIFY(AskEnabledStates(form.view).paste);

    Clipboard()->clear();
    QVERIFY(!AskEnabledStates(form.view).paste);

    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    Clipboard()->setMimeData(image);
    QVERIFY(!AskEnabledStates(form.view).paste);

    // Any box of the form, read-only ones included.
    Clipboard()->setText(QStringLiteral("7"));
    form.Focus(korvel::test::PeriodsBox(form.view));
    QVERIFY(AskEnabledStates(form.view).paste);
}

void EditClipboardTest::undoFollowsTheBox()
{
    ShownForm form;
    form.Focus(korvel::test::CellBox(form.view));
    // A box just loaded from its cell has nothing to undo.
    QVERIFY(!AskEnabledStates(form.view).undo);

    QTest::keyClick(korvel::test::CellBox(form.view), Qt::Key_X);
    QVERIFY(AskEnabledStates(form.view).undo);

    form.MoveTo(2, 1);
    QVERIFY(!AskEnabledStates(form.view).undo);
}

void EditClipboardTest::aTextBoxOutsideTheFormDisablesEverything()
{
    ShownForm form;
    QLineEdit elsewhere(QStringLiteral("other window"));
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    elsewhere.setFocus();
    elsewhere.selectAll();
    elsewhere.insert(QStringLiteral("!"));  // something to undo
    const EnabledStates states = AskEnabledStates(form.view);
    QVERIFY(!states.undo);
    QVERIFY(!states.copyCut);
    QVERIFY(!states.paste);
}

void EditClipboardTest::cutTakesTheSelectionOutOfTheCellAndMarksTheDocument()
{
    ShownForm form;
    form.Focus(korvel::test::CellBox(form.view));
    korvel::test::CellBox(form.view)->setSelection(0, 2);

    form.view.OnEditCut();

    QCOMPARE(Clipboard()->text(), QStringLiteral("Al"));
    QCOMPARE(korvel::test::CellBox(form.view)->text(), QStringLiteral("pha"));
    QCOMPARE(form.grid.GetTextMatrix(1, 1), std::string("pha"));
    QVERIFY(form.doc.IsModified());
}

void EditClipboardTest::pasteWritesIntoTheCellAndMarksTheDocument()
{
    ShownForm form;
    form.Focus(korvel::test::CellBox(form.view));
    korvel::test::CellBox(form.view)->setCursorPosition(5);

    form.view.OnEditPaste();

    QCOMPARE(korvel::test::CellBox(form.view)->text(), QStringLiteral("Alphaclip"));
    QCOMPARE(form.grid.GetTextMatrix(1, 1), std::string("Alphaclip"));
    QVERIFY(form.doc.IsModified());
}

void EditClipboardTest::undoMarksTheDocumentCopyLeavesItAlone()
{
    ShownForm form;
    form.Focus(korvel::test::CellBox(form.view));
    korvel::test::CellBox(form.view)->selectAll();
    form.view.OnEditCut();
    QCOMPARE(form.grid.GetTextMatrix(1, 1), std::string());
    form.doc.SetModifiedFlag(false);

    form.view.OnEditUndo();
    QCOMPARE(korvel::test::CellBox(form.view)->text(), QStringLiteral("Alpha"));
    QCOMPARE(form.grid.GetTextMatrix(1, 1), std::string("Alpha"));
    QVERIFY(form.doc.IsModified());

    form.doc.SetModifiedFlag(false);
    Clipboard()->clear();
    korvel::test::CellBox(form.view)->setSelection(1, 3);
    form.view.OnEditCopy();
    QCOMPARE(Clipboard()->text(), QStringLiteral("lph"));
    QCOMPARE(korvel::test::CellBox(form.view)->text(), QStringLiteral("Alpha"));
    QVERIFY(!form.doc.IsModified());
}

void EditClipboardTest::readOnlyBoxesKeepTheirTextButCutAndPasteStillMark_data()
{
    QTest::addColumn<bool>("assets");
    QTest::newRow("Assets") << true;
    QTest::newRow("Periods") << false;
}

void EditClipboardTest::readOnlyBoxesKeepTheirTextButCutAndPasteStillMark()
{
    QFETCH(bool, assets);
    ShownForm form;
    QLineEdit* box = assets ? korvel::test::AssetsBox(form.view) : korvel::test::PeriodsBox(form.view);
    QVERIFY(box->isReadOnly());
    const QString shown = box->text();
    const int32_t rows = form.grid.GetRows();
    const int32_t cols = form.grid.GetCols();
    form.Focus(box);
    box->selectAll();

    form.view.OnEditCut();
    QCOMPARE(Clipboard()->text(), shown);
    QCOMPARE(box->text(), shown);
    QVERIFY(form.doc.IsModified());

    form.doc.SetModifiedFlag(false);
    Clipboard()->setText(QStringLiteral("9"));
    box->selectAll();
    form.view.OnEditPaste();
    QCOMPARE(box->text(), shown);
    QVERIFY(form.doc.IsModified());

    QCOMPARE(form.grid.GetRows(), rows);
    QCOMPARE(form.grid.GetCols(), cols);
}

void EditClipboardTest::commandsDoNothingWhenTheirStateSaysDisabled()
{
    ShownForm form;
    form.Focus(form.grid.Widget());
    form.view.OnEditCut();
    form.view.OnEditPaste();
    QVERIFY(!form.doc.IsModified());
    QCOMPARE(form.grid.GetTextMatrix(1, 1), std::string("Alpha"));
    QCOMPARE(Clipboard()->text(), QStringLiteral("clip"));

    // A box without a selection has nothing to cut.
    form.Focus(korvel::test::CellBox(form.view));
    korvel::test::CellBox(form.view)->deselect();
    form.view.OnEditCut();
    QVERIFY(!form.doc.IsModified());
    QCOMPARE(korvel::test::CellBox(form.view)->text(), QStringLiteral("Alpha"));
}

KORVEL_TEST_MAIN(EditClipboardTest)
#include "edit_clipboard_test.moc"
