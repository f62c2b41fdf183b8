// The document's modified flag, Save's enabled state and the save question
// before New, Open and closing.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"
#include "worksheet_host.h"

#include "gui/framework/CmdUI.h"

#include <QAction>
#include <QSignalSpy>
#include <QTemporaryDir>

using korvel::test::FileDialogAnswers;
using korvel::test::MessageBoxRecorder;
using korvel::test::ReadWholeFile;
using korvel::test::WorksheetHost;

namespace {

bool SaveEnabled(const CTavoDoc& document)
{
    QAction save;
    korvel::CCmdUI cmdUI(&save);
    cmdUI.Enable(!document.IsModified());  // start from the other state
    document.OnUpdateFileSave(&cmdUI);
    return save.isEnabled();
}

}  // namespace

class DocumentCommandsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void everyChangeEnablesSaveAndSavingDisablesIt()
    {
        WorksheetHost host;
        FileDialogAnswers dialogs;
        QSignalSpy modified(&host.document, &CTavoDoc::ModifiedChanged);
        QVERIFY(!SaveEnabled(host.document));

        // Arrow keys alone change nothing.
        host.SetShares(3);
        host.document.SetModifiedFlag(false);
        host.CellEdit()->setFocus();
        QTest::keyClick(host.CellEdit(), Qt::Key_Down);
        QTest::keyClick(host.CellEdit(), Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(!SaveEnabled(host.document));

        const std::function<void()> changes[] = {
            [&] { QTest::keyClicks(host.CellEdit(), "x"); },
            [&] { QTest::keyClicks(korvel::test::MinReturnBox(*host.view), "2"); },
            [&] { host.SetShares(4); },
            [&] { host.SetPeriods(5); },
        };
        for (const auto& change : changes) {
            host.document.SetModifiedFlag(false);
            change();
            QVERIFY(host.document.IsModified());
            QVERIFY(SaveEnabled(host.document));
        }
        QVERIFY(modified.count() >= 8);
        QCOMPARE(modified.last().at(0).toBool(), true);

        dialogs.paths.push_back(m_dir.filePath("saved"));
        QVERIFY(host.document.FileSave());
        QVERIFY(!SaveEnabled(host.document));
        QCOMPARE(modified.last().at(0).toBool(), false);

        // A load leaves the document unmodified; the reset that follows it changes nothing.
        QVERIFY(host.document.OpenDocumentFile(m_dir.filePath("saved")));
        QVERIFY(!SaveEnabled(host.document));
        QCOMPARE(host.Grid().GetRows(), 5);
        QCOMPARE(host.Grid().GetTextMatrix(2, 2), std::string("x"));
        QVERIFY(!host.view->JustLoaded());
        QVERIFY(host.document.FileNew());
        QCOMPARE(host.Grid().GetRows(), 2);
        QVERIFY(!SaveEnabled(host.document));
    }

    void titleFollowsThePath()
    {
        WorksheetHost host;
        FileDialogAnswers dialogs;
        QSignalSpy titles(&host.document, &CTavoDoc::TitleChanged);
        dialogs.paths.push_back(m_dir.filePath("portfolio"));
        QVERIFY(host.document.FileSaveAs());
        QCOMPARE(titles.count(), 1);
        QCOMPARE(titles.last().at(0).toString(), QString("portfolio"));
        QVERIFY(host.document.FileNew());
        QCOMPARE(titles.last().at(0).toString(), QString("Untitled"));
    }

    void saveQuestionBeforeNewOpenAndClosing()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        FileDialogAnswers dialogs;
        const QString other = m_dir.filePath("other");
        QVERIFY(korvel::test::WriteWholeFile(other, QByteArray()));

        // Not modified: no question.
        QVERIFY(host.document.SaveModified());
        QVERIFY(boxes.requests.empty());

        QTest::keyClicks(host.CellEdit(), "Keep");
        boxes.answers = {korvel::IDCANCEL};
        QVERIFY(!host.document.FileNew());
        QCOMPARE(boxes.requests.size(), size_t(1));
        const korvel::MessageBoxRequest& question = boxes.requests.back();
        QCOMPARE(question.buttons, korvel::MbButtons::YesNoCancel);
        QCOMPARE(question.icon, korvel::MbIcon::Question);
        QVERIFY(question.text.contains("Untitled"));
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("Keep"));
        QVERIFY(host.document.IsModified());

        // Open asks for the file first, then the question; Cancel keeps everything.
        dialogs.paths.push_back(other);
        boxes.answers = {korvel::IDCANCEL};
        QVERIFY(!host.document.FileOpen());
        QCOMPARE(boxes.requests.size(), size_t(2));
        QCOMPARE(dialogs.kinds.back(), korvel::FileDialogKind::Open);
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("Keep"));

        // Yes saves first (Save As for an untitled document); a cancelled
        // Save As cancels the whole command.
        boxes.answers = {korvel::IDYES};
        QVERIFY(!host.document.FileNew());
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string("Keep"));
        const QString saved = m_dir.filePath("kept");
        boxes.answers = {korvel::IDYES};
        dialogs.paths.push_back(saved);
        QVERIFY(host.document.FileNew());
        QVERIFY(ReadWholeFile(saved).contains("Keep"));
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string());

        // No discards the changes.
        QTest::keyClicks(host.CellEdit(), "Drop");
        boxes.answers = {korvel::IDNO};
        QVERIFY(host.document.OpenDocumentFile(other));
        QCOMPARE(host.Grid().GetTextMatrix(1, 1), std::string());
        QVERIFY(!ReadWholeFile(saved).contains("Drop"));

        // Closing asks the same question.
        QTest::keyClicks(host.CellEdit(), "Close");
        boxes.answers = {korvel::IDCANCEL};
        QVERIFY(!host.document.SaveModified());
        boxes.answers = {korvel::IDNO};
        QVERIFY(host.document.SaveModified());
    }

    void tooLongMinReturnIsReportedAndStoredWhole()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        const std::string longText(24, '9');
        host.view->SetMinReturnBytes(longText);
        host.view->UpdateData(false);
        const QString path = m_dir.filePath("long-min-return");
        FileDialogAnswers dialogs;
        dialogs.paths.push_back(path);
        QVERIFY(host.document.FileSave());
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(ReadWholeFile(path).contains(QByteArray::fromStdString(longText)));
    }
};

KORVEL_TEST_MAIN(DocumentCommandsTest)
#include "document_commands_test.moc"
