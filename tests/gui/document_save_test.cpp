// Saving where the ordinary replace of the file cannot work: a folder the user
// may not write, a file size limit, a name near the system's limit.
#include "support/GridTestSupport.h"
#include "worksheet_host.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using korvel::test::DocumentBytes;
using korvel::test::FileDialogAnswers;
using korvel::test::MessageBoxRecorder;
using korvel::test::ReadWholeFile;
using korvel::test::WorksheetHost;
using korvel::test::WriteWholeFile;

namespace {

constexpr uid_t kNobody = 65534;

korvel::WorksheetTable OneShare(const std::string& name)
{
    korvel::WorksheetTable table;
    table.SetTextMatrix(1, 1, name);
    table.minReturnText = "1";
    return table;
}

// For as long as it lives, files are reached as a user without write access
// to `folder` (root passes every permission check; a plain user just loses
// the folder's write bit) while the file `writable` in it stays writable.
class FolderWithoutWriteAccess {
public:
    FolderWithoutWriteAccess(const QString& folder, const QString& writable) : m_folder(folder)
    {
        if (::geteuid() == 0) {
            m_asNobody = ::chown(QFile::encodeName(writable).constData(), kNobody, kNobody) == 0;
            ::setfsuid(kNobody);
            ::setfsgid(kNobody);
        } else {
            ::chmod(QFile::encodeName(folder).constData(), 0555);
        }
    }
    ~FolderWithoutWriteAccess()
    {
        if (::geteuid() == 0) {
            ::setfsuid(0);
            ::setfsgid(0);
        } else {
            ::chmod(QFile::encodeName(m_folder).constData(), 0755);
        }
    }
    bool Ready() const { return ::geteuid() != 0 || m_asNobody; }
    // True when a new file in the folder is refused, as it should be now.
    bool Locked() const
    {
        QFile probe(m_folder + "/probe");
        const bool created = probe.open(QIODevice::WriteOnly);
        if (created)
            probe.remove();
        return !created;
    }

private:
    QString m_folder;
    bool m_asNobody = false;
};

}  // namespace

class DocumentSaveTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    // The file is rewritten in place where no file can be made beside it; a
    // new file there, or one the user may not write, is refused with the reason.
    void aFolderTheUserCannotWriteStillSavesItsFiles()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        FileDialogAnswers dialogs;
        const QString folder = m_dir.filePath("locked");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                        | QFile::ReadOther | QFile::ExeOther));
        const QString path = folder + "/sheet";
        const QString theirs = folder + "/theirs";
        QVERIFY(WriteWholeFile(path, DocumentBytes(OneShare("Before"))));
        QVERIFY(WriteWholeFile(theirs, DocumentBytes(OneShare("Theirs"))));
        QVERIFY(host.document.OpenDocumentFile(path));
        host.view->SetCellBytes(1, 1, "After");
        host.document.SetModifiedFlag(true);

        {
            FolderWithoutWriteAccess access(folder, path);
            QVERIFY(access.Ready());
            QVERIFY(access.Locked());
            QVERIFY(host.document.FileSave());
            QVERIFY(!host.document.IsModified());
            QVERIFY(boxes.requests.empty());

            dialogs.paths = {folder + "/new", theirs};
            for (const char* name : {"\"new\"", "\"theirs\""}) {
                host.document.SetModifiedFlag(true);
                QVERIFY(!host.document.FileSaveAs());
                QVERIFY(boxes.LastText().contains(name));
                QVERIFY(boxes.LastText().contains("Permission denied"));
                QVERIFY(host.document.IsModified());
            }
        }
        QCOMPARE(ReadWholeFile(path), DocumentBytes(OneShare("After")));
        QCOMPARE(ReadWholeFile(theirs), DocumentBytes(OneShare("Theirs")));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), qsizetype(2));
        QCOMPARE(host.document.GetTitle(), QStringLiteral("sheet"));
    }

    // The program itself survives SIGXFSZ: nothing here ignores it.
    void aSaveOverTheFileSizeLimitFailsWithItsReason()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        const QString path = m_dir.filePath("limited");
        const QByteArray previous = DocumentBytes(OneShare("Small"));
        QVERIFY(WriteWholeFile(path, previous));
        QVERIFY(host.document.OpenDocumentFile(path));
        host.SetShares(500);
        host.view->SetCellBytes(500, 1, "Last");

        const bool saved = korvel::test::SaveUnderFileSizeLimit(host.document, 2000);

        QVERIFY(!saved);
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(boxes.LastText().contains("File too large"));
        QCOMPARE(ReadWholeFile(path), previous);
        QVERIFY(host.document.IsModified());
        QCOMPARE(host.Grid().GetTextMatrix(500, 1), std::string("Last"));
        QVERIFY(host.document.FileSave());
        QVERIFY(ReadWholeFile(path).size() > 2000);
    }

    void namesNearTheLengthLimitSaveOrSayWhyNot()
    {
        WorksheetHost host;
        MessageBoxRecorder boxes;
        FileDialogAnswers dialogs;
        const QString longest = m_dir.filePath(QString(255, QLatin1Char('n')));
        QVERIFY(WriteWholeFile(longest, DocumentBytes(OneShare("Before"))));
        QVERIFY(host.document.OpenDocumentFile(longest));
        host.view->SetCellBytes(1, 1, "After");
        host.document.SetModifiedFlag(true);
        QVERIFY(host.document.FileSave());
        QCOMPARE(ReadWholeFile(longest), DocumentBytes(OneShare("After")));
        QVERIFY(boxes.requests.empty());

        dialogs.paths = {m_dir.filePath(QString(256, QLatin1Char('n')))};
        QVERIFY(!host.document.FileSaveAs());
        QVERIFY(boxes.LastText().contains("File name too long"));
        QCOMPARE(host.document.GetPathName(), longest);
    }
};

KORVEL_TEST_MAIN(DocumentSaveTest)
#include "document_save_test.moc"
