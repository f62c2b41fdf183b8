// Worksheet documents on disk: round trips, the load failures, failed saves.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"
#include "worksheet_host.h"

#include "core/worksheet/DocumentFormat.h"

#include <QSignalSpy>
#include <QTemporaryDir>

using korvel::test::Bytes;
using korvel::test::FileDialogAnswers;
using korvel::test::MessageBoxRecorder;
using korvel::test::ReadWholeFile;
using korvel::test::WorksheetHost;
using korvel::test::WriteWholeFile;

namespace {

QByteArray DocumentBytes(const korvel::WorksheetTable& table)
{
    const std::vector<uint8_t> bytes = korvel::doc::SaveDocument(table);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Shares named S<row>, returns "<row>.<period>".
korvel::WorksheetTable SampleTable(int32_t shares, int32_t periods, const std::string& minReturn)
{
    korvel::WorksheetTable table(shares + 1, periods + 2);
    for (int32_t row = 1; row <= shares; ++row) {
        table.SetTextMatrix(row, 1, "S" + std::to_string(row));
        for (int32_t col = 2; col < periods + 2; ++col)
            table.SetTextMatrix(row, col, std::to_string(row) + "." + std::to_string(col - 1));
    }
    table.minReturnText = minReturn;
    return table;
}

QByteArray Counts(int32_t rows, int32_t cols)
{
    korvel::doc::DocumentWriter out;
    out.WriteInt32(rows);
    out.WriteInt32(cols);
    return QByteArray(reinterpret_cast<const char*>(out.Bytes().data()), 8);
}

void ExpectWorksheet(WorksheetHost& host, const korvel::WorksheetTable& table)
{
    const CMSFlexGrid& grid = host.Grid();
    QCOMPARE(grid.GetRows(), table.Rows());
    QCOMPARE(grid.GetCols(), table.Cols());
    for (int32_t row = 0; row < table.Rows(); ++row)
        for (int32_t col = 0; col < table.Cols(); ++col)
            QCOMPARE(grid.GetTextMatrix(row, col), table.TextMatrix(row, col));
    QCOMPARE(korvel::test::MinReturnBox(*host.view)->text().toStdString(), table.minReturnText);
    QCOMPARE(korvel::test::AssetsBox(*host.view)->text(),
             korvel::test::AssetsSpin(*host.view)->FormatPos(table.Rows() - 1));
    QCOMPARE(korvel::test::PeriodsBox(*host.view)->text(), QString::number(table.Cols() - 2));
}

void ExpectResetWorksheet(WorksheetHost& host)
{
    ExpectWorksheet(host, korvel::WorksheetTable());
}

}  // namespace

class DocumentFilesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void typedWorksheetSavesInTheDocumentFormatAndReadsBack()
    {
        WorksheetHost host;
        FileDialogAnswers dialogs;
        QSignalSpy used(&host.document, &CTavoDoc::DocumentPathUsed);
        CCellEdit* box = host.CellEdit();
        box->setFocus();
        QTest::keyClicks(box, "ABC");
        QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClicks(box, "1.5");
        QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClicks(box, "2");
        QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClicks(box, "-0.5");
        QTest::keyClicks(korvel::test::MinReturnBox(*host.view), "1");

        const QString path = PathOf("abc");
        dialogs.paths.push_back(path);
        QVERIFY(host.document.FileSave());
        QCOMPARE(ReadWholeFile(path), QByteArray::fromHex("02000000050000000131034142430331"
                                                          "2E350132042D302E35"));
        QCOMPARE(host.document.GetTitle(), QString("abc"));
        QVERIFY(!host.document.IsModified());
        QCOMPARE(used.count(), 1);

        QVERIFY(host.document.FileNew());
        ExpectResetWorksheet(host);
        QVERIFY(host.document.OpenDocumentFile(path));
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("ABC"));
        QCOMPARE(host.Grid().GetTextMatrix(1, 4), std::string("-0.5"));
        QCOMPARE(host.view->MinReturnText(), QString("1"));
        QVERIFY(!host.document.IsModified());
        QCOMPARE(used.count(), 2);
    }

    void roundTripKeepsEveryTextAndBothCounts()
    {
        WorksheetHost host;
        // Fewer shares than on screen drop rows; more number the new ones.
        const QString big = PathOf("big"), small = PathOf("small");
        korvel::WorksheetTable bigTable = SampleTable(7, 6, "3.25");
        bigTable.SetTextMatrix(4, 1, std::string(300, 'n'));  // the 3-byte length form
        QVERIFY(WriteWholeFile(big, DocumentBytes(bigTable) + QByteArray("trailing bytes")));
        QVERIFY(WriteWholeFile(small, DocumentBytes(SampleTable(2, 3, "-1"))));

        MessageBoxRecorder boxes;
        boxes.answers = {korvel::IDNO};  // the five shares on screen need not be saved
        host.SetShares(5);
        QVERIFY(host.document.OpenDocumentFile(small));
        ExpectWorksheet(host, SampleTable(2, 3, "-1"));
        QVERIFY(host.document.OpenDocumentFile(big));
        ExpectWorksheet(host, bigTable);
        QCOMPARE(host.document.GetTitle(), QString("big"));

        FileDialogAnswers dialogs;
        QVERIFY(!host.document.FileSaveAs());  // cancelled dialog
        const QString copy = PathOf("copy");
        dialogs.paths.push_back(copy);
        QVERIFY(host.document.FileSaveAs());
        QCOMPARE(ReadWholeFile(copy), DocumentBytes(bigTable));
        QCOMPARE(host.document.GetPathName(), QFileInfo(copy).absoluteFilePath());
    }

    void largestWorksheetLoads()
    {
        WorksheetHost host;
        const QString path = PathOf("largest");
        const korvel::WorksheetTable table = SampleTable(1000, 10, "0.1");
        QVERIFY(WriteWholeFile(path, DocumentBytes(table)));
        QVERIFY(host.document.OpenDocumentFile(path));
        ExpectWorksheet(host, table);
    }

    void countsOutOfRangeResetAndLeaveAnUntitledDocument()
    {
        const std::pair<int32_t, int32_t> counts[] = {{1002, 5}, {1, 5}, {3, 4}, {3, 13}, {-1, 5}};
        for (const auto& [rows, cols] : counts) {
            WorksheetHost host;
            MessageBoxRecorder boxes;
            const QString good = PathOf("good"), bad = PathOf("bad");
            QVERIFY(WriteWholeFile(good, DocumentBytes(SampleTable(3, 4, "2"))));
            QVERIFY(WriteWholeFile(bad, Counts(rows, cols)
                                            + QByteArray("\x01"
                                                         "5",
                                                         2)));
            QVERIFY(host.document.OpenDocumentFile(good));

            QVERIFY(!host.document.OpenDocumentFile(bad));
            QCOMPARE(boxes.requests.size(), size_t(1));
            QVERIFY(boxes.LastText().contains("\"bad\""));
            ExpectResetWorksheet(host);
            QCOMPARE(host.document.GetTitle(), QString("Untitled"));
            QVERIFY(host.document.GetPathName().isEmpty());
            QVERIFY(!host.document.IsModified());
        }
    }

    void shortFileKeepsWhatWasRead()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        boxes.answers = {korvel::IDNO};  // do not save the two shares on screen
        host.SetShares(2);
        host.view->SetCellBytes(2, 3, "earlier");
        QByteArray bytes = Counts(3, 5);
        bytes += QByteArray("\x03"
                            "1.5"
                            "\x01"
                            "A"
                            "\x01"
                            "1",
                            8);
        const QString path = PathOf("short");
        QVERIFY(WriteWholeFile(path, bytes));

        QVERIFY(!host.document.OpenDocumentFile(path));
        QCOMPARE(boxes.requests.size(), size_t(2));
        QVERIFY(boxes.LastText().contains("Unexpected file format"));
        const CMSFlexGrid& grid = host.Grid();
        QCOMPARE(grid.GetRows(), 3);
        QCOMPARE(grid.GetTextMatrix(1, 1), std::string("A"));
        QCOMPARE(grid.GetTextMatrix(1, 2), std::string("1"));
        QCOMPARE(grid.GetTextMatrix(1, 3), std::string());
        QCOMPARE(grid.GetTextMatrix(2, 3), std::string("earlier"));
        QCOMPARE(korvel::test::MinReturnBox(*host.view)->text(), QString("1.5"));
        QCOMPARE(host.document.GetTitle(), QString("Untitled"));
        QVERIFY(!host.document.IsModified());
    }

    void unreadableFileChangesNothingEmptyFileOpensReset()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        const QString named = PathOf("named");
        QVERIFY(WriteWholeFile(named, DocumentBytes(SampleTable(2, 3, "1"))));
        QVERIFY(host.document.OpenDocumentFile(named));
        host.view->SetCellBytes(1, 1, "edited");
        host.document.SetModifiedFlag(true);

        for (const QString& path : {PathOf("missing"), m_dir.path()}) {
            boxes.answers.push_back(korvel::IDNO);  // do not save
            QVERIFY(!host.document.OpenDocumentFile(path));
            QVERIFY(boxes.LastText().contains(QFileInfo(path).fileName()));
            QCOMPARE(host.document.GetTitle(), QString("named"));
            QVERIFY(host.document.IsModified());
            QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("edited"));
        }

        boxes.answers.push_back(korvel::IDNO);
        const QString empty = PathOf("empty");
        QVERIFY(WriteWholeFile(empty, {}));
        QVERIFY(host.document.OpenDocumentFile(empty));
        ExpectResetWorksheet(host);
        QCOMPARE(host.document.GetTitle(), QString("empty"));
        QVERIFY(!host.document.IsModified());
    }

    // Texts the box never changed are saved back byte for byte: Windows-1252,
    // stray bytes, and cells longer than the box's limit.
    void foreignAndLongTextsSaveBackUnchanged()
    {
        WorksheetHost host;
        korvel::WorksheetTable table = SampleTable(3, 3,
                                                   "\xB1"
                                                   "5%");
        table.SetTextMatrix(1, 1, std::string(200, 'x'));  // current after the load
        table.SetTextMatrix(2, 1, "Nestl\xE9");
        table.SetTextMatrix(3, 2, "\xFF\xFE\x80");
        const QString path = PathOf("foreign");
        QVERIFY(WriteWholeFile(path, DocumentBytes(table)));
        QVERIFY(host.document.OpenDocumentFile(path));
        QCOMPARE(host.CellEdit()->text().size(), qsizetype(200));

        CCellEdit* box = host.CellEdit();
        box->setFocus();
        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
            QTest::keyClick(box, Qt::Key_Down);
            QTest::keyClick(box, Qt::Key_Down);
            QTest::keyClick(box, Qt::Key_Up);
            QTest::keyClick(box, Qt::Key_Up);
        }
        korvel::test::MinReturnBox(*host.view)->setFocus();
        box->setFocus();
        QVERIFY(!host.document.IsModified());

        host.document.SetModifiedFlag(true);
        QVERIFY(host.document.FileSave());
        QCOMPARE(ReadWholeFile(path), DocumentBytes(table));
    }

    void failedSaveKeepsThePreviousFile()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        FileDialogAnswers dialogs;
        const QString path = PathOf("kept");
        const QByteArray previous = DocumentBytes(SampleTable(1, 3, "1"));
        QVERIFY(WriteWholeFile(path, previous));
        QVERIFY(host.document.OpenDocumentFile(path));
        host.SetShares(400);
        QVERIFY(host.document.IsModified());

        // A file size limit makes the write fail as a full disk would, for
        // root too; the save handles SIGXFSZ itself.
        const bool saved = korvel::test::SaveUnderFileSizeLimit(host.document, 64);

        QVERIFY(!saved);
        QCOMPARE(ReadWholeFile(path), previous);
        QVERIFY(host.document.IsModified());
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(boxes.LastText().contains("\"kept\""));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).filter("kept").size(), qsizetype(1));

        // A directory in the way of Save As: nothing is replaced, the name stays.
        const QString folder = PathOf("folder");
        QVERIFY(QDir().mkpath(folder));
        dialogs.paths.push_back(folder);
        QVERIFY(!host.document.FileSaveAs());
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(host.document.GetTitle(), QString("kept"));
        QCOMPARE(boxes.requests.size(), size_t(2));
        QVERIFY(boxes.LastText().contains("\"folder\""));

        QVERIFY(host.document.FileSave());
        const QByteArray written = ReadWholeFile(path);
        const auto result = korvel::doc::LoadDocument(
            std::span(reinterpret_cast<const uint8_t*>(written.constData()), size_t(written.size())));
        QVERIFY(result.error == korvel::doc::LoadError::None);
        QCOMPARE(result.table.Rows(), 401);
        QCOMPARE(result.table.TextMatrix(1, 1), std::string("S1"));
    }
};

KORVEL_TEST_MAIN(DocumentFilesTest)
#include "document_files_test.moc"
