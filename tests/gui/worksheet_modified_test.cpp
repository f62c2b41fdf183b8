// The modified flag follows the worksheet's content: every way the user
// changes a cell marks the document, and moving, focus and saving never do.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"
#include "worksheet_host.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>

#include <memory>

using korvel::test::DocumentBytes;
using korvel::test::MessageBoxRecorder;
using korvel::test::ReadWholeFile;
using korvel::test::WorksheetHost;
using korvel::test::WriteWholeFile;

namespace {

// Three shares S1..S3 with returns "<row>.<period>" over three periods.
korvel::WorksheetTable ThreeShares()
{
    korvel::WorksheetTable table(4, 5);
    for (int32_t row = 1; row < 4; ++row) {
        table.SetTextMatrix(row, 1, "S" + std::to_string(row));
        for (int32_t col = 2; col < 5; ++col)
            table.SetTextMatrix(row, col, std::to_string(row) + "." + std::to_string(col - 1));
    }
    table.minReturnText = "1";
    return table;
}

// Runs one entry of the box's own right-click menu, as a mouse click on it would.
void ChooseFromBoxMenu(CCellEdit* box, const char* entry)
{
    std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    QAction* action = nullptr;
    for (QAction* candidate : menu->actions())
        if (candidate->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')) == QLatin1String(entry))
            action = candidate;
    QVERIFY2(action, entry);
    QVERIFY2(action->isEnabled(), entry);
    action->trigger();
}

}  // namespace

class WorksheetModifiedTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // The host with ThreeShares opened from "sheet", cell (1, 1) current and focused.
    std::unique_ptr<WorksheetHost> Opened(const korvel::WorksheetTable& table = ThreeShares())
    {
        auto host = std::make_unique<WorksheetHost>();
        const QString path = m_dir.filePath("sheet");
        if (!WriteWholeFile(path, DocumentBytes(table)) || !host->document.OpenDocumentFile(path))
            return nullptr;
        host->view->activateWindow();
        if (!QTest::qWaitForWindowActive(host->view.get()))
            return nullptr;
        host->CellEdit()->setFocus();
        return host;
    }

    std::string SavedCell(int32_t row, int32_t col)
    {
        const QByteArray bytes = ReadWholeFile(m_dir.filePath("sheet"));
        const auto result = korvel::doc::LoadDocument(
            std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
        return result.table.TextMatrix(row, col);
    }

private slots:
    void editsThroughTheBoxMenuMark()
    {
        auto host = Opened();
        QVERIFY(host);
        CCellEdit* box = host->CellEdit();
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        box->end(false);

        const struct {
            const char* entry;
            bool selectAll;
            const char* cell;
        } steps[] = {
            {"Paste", false, "S1clip"},
            {"Delete", true, ""},
            {"Undo", false, "S1clip"},
            {"Redo", false, ""},
        };
        for (const auto& step : steps) {
            host->document.SetModifiedFlag(false);
            if (step.selectAll)
                box->selectAll();
            ChooseFromBoxMenu(box, step.entry);
            QCOMPARE(host->Grid().GetTextMatrix(1, 1), std::string(step.cell));
            QVERIFY2(host->document.IsModified(), step.entry);
        }
    }

    // A middle click pastes the X selection without any key: the same insert
    // as below where the platform has no selection.
    void mousePasteOfTheSelectionMarks()
    {
        auto host = Opened();
        QVERIFY(host);
        CCellEdit* box = host->CellEdit();
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard->supportsSelection()) {
            clipboard->setText(QStringLiteral("sel"), QClipboard::Selection);
            QTest::mouseClick(box, Qt::MiddleButton, {}, box->rect().center());
        } else {
            box->end(false);
            box->insert(QStringLiteral("sel"));
        }
        QVERIFY(host->Grid().GetTextMatrix(1, 1) != "S1");
        QVERIFY(host->document.IsModified());
    }

    void undoFromTheMenuAfterASaveMarksAndIsSaved()
    {
        auto host = Opened();
        QVERIFY(host);
        CCellEdit* box = host->CellEdit();
        box->end(false);
        QTest::keyClicks(box, "K");
        QVERIFY(host->document.FileSave());
        QCOMPARE(SavedCell(1, 1), std::string("S1K"));
        QVERIFY(!host->document.IsModified());

        host->view->OnEditUndo();
        QCOMPARE(box->text(), QStringLiteral("S1"));
        QCOMPARE(host->Grid().GetTextMatrix(1, 1), std::string("S1"));
        QVERIFY(host->document.IsModified());
        QVERIFY(host->document.FileSave());
        QCOMPARE(SavedCell(1, 1), std::string("S1"));
    }

    // The keys of Ctrl+S released after the save, and moving the caret or
    // the cell, leave the document saved.
    void aSaveStaysSavedUntilTheNextChange()
    {
        auto host = Opened();
        QVERIFY(host);
        CCellEdit* box = host->CellEdit();
        box->end(false);
        QTest::keyClicks(box, "a");
        QVERIFY(host->document.IsModified());

        QTest::keyPress(box, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyPress(box, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(host->document.FileSave());
        QTest::keyRelease(box, Qt::Key_S, Qt::ControlModifier);
        QTest::keyRelease(box, Qt::Key_Control);
        QVERIFY(!host->document.IsModified());

        for (const Qt::Key key :
             {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Down, Qt::Key_Up, Qt::Key_Shift})
            QTest::keyClick(box, key);
        QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
        korvel::test::MinReturnBox(*host->view)->setFocus();
        box->setFocus();
        QVERIFY(!host->document.IsModified());
        QCOMPARE(SavedCell(1, 1), std::string("S1a"));
    }

    // Texts longer than a text box can hold come back byte for byte.
    void textsTooLongForTheBoxesSaveWhole()
    {
        korvel::WorksheetTable table = ThreeShares();
        table.SetTextMatrix(2, 1, std::string(40000, 'W'));
        table.minReturnText = std::string(40000, '7');
        MessageBoxRecorder boxes;  // the field's length check on save
        auto host = Opened(table);
        QVERIFY(host);
        QTest::keyClick(host->CellEdit(), Qt::Key_Down);
        QCOMPARE(host->Grid().GetRow(), 2);
        QCOMPARE(host->Grid().GetTextMatrix(2, 1).size(), size_t(40000));
        QVERIFY(!host->document.IsModified());

        QVERIFY(host->document.FileSave());
        QCOMPARE(ReadWholeFile(m_dir.filePath("sheet")), DocumentBytes(table));
    }

    void aFailedShortLoadLeavesTheBoxShowingItsCell()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        boxes.answers = {korvel::IDNO};  // the worksheet on screen is not saved
        host.SetShares(3);
        host.view->SetCellBytes(2, 2, "earlier");
        host.MakeCurrent(2, 2);
        QCOMPARE(host.CellEdit()->text(), QStringLiteral("earlier"));

        // Rows 1 and 2 whole, then the file ends.
        korvel::doc::DocumentWriter out;
        out.WriteInt32(4);
        out.WriteInt32(5);
        out.WriteString("1");
        for (const char* text : {"A", "1", "2", "3", "B", "real", "5", "6"})
            out.WriteString(text);
        const QString path = m_dir.filePath("short");
        QVERIFY(WriteWholeFile(
            path, QByteArray(reinterpret_cast<const char*>(out.Bytes().data()), qsizetype(out.Bytes().size()))));
        QVERIFY(!host.document.OpenDocumentFile(path));
        QVERIFY(boxes.LastText().contains("Unexpected file format"));

        host.CellEdit()->setFocus();
        QTest::keyClicks(host.CellEdit(), "x");
        QCOMPARE(host.Grid().GetTextMatrix(2, 2), std::string("realx"));
        QVERIFY(host.document.IsModified());
    }

    // A refused file makes a new untitled document, saved until changed, even
    // with the user's typing of the worksheet before still in the box's memory.
    void aRefusedFileLeavesTheNewDocumentUnmodified()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        boxes.answers = {korvel::IDNO, korvel::IDOK};
        CCellEdit* box = host.CellEdit();
        box->setFocus();
        QTest::keyClicks(box, "Z");
        QVERIFY(host.document.IsModified());
        korvel::doc::DocumentWriter out;
        out.WriteInt32(1002);
        out.WriteInt32(5);
        out.WriteString("5");
        const QString path = m_dir.filePath("huge");
        QVERIFY(WriteWholeFile(
            path, QByteArray(reinterpret_cast<const char*>(out.Bytes().data()), qsizetype(out.Bytes().size()))));

        QVERIFY(!host.document.OpenDocumentFile(path));
        QCOMPARE(boxes.requests.size(), size_t(2));
        QVERIFY(boxes.LastText().contains("out of range"));
        QCOMPARE(host.document.GetTitle(), QStringLiteral("Untitled"));
        QVERIFY(!host.document.IsModified());

        // The release of the Enter that closed the message, then the arrows.
        QTest::keyRelease(box, Qt::Key_Return);
        QVERIFY(!host.document.IsModified());
        QTest::keyClick(box, Qt::Key_Up);
        QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(!host.document.IsModified());
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string());
    }
};

KORVEL_TEST_MAIN(WorksheetModifiedTest)
#include "worksheet_modified_test.moc"
