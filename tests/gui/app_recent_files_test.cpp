// The recent-file list: four documents, most recent first, kept in the
// per-user settings store across runs, shown in the File menu.
#include "gui/app_test_support.h"
#include "support/GridTestSupport.h"

#include "gui/app/MainFrame.h"
#include "gui/app/RecentFileList.h"
#include "gui/app/TavoApp.h"
#include "gui/resources/CommandIds.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include <QAction>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

using namespace korvel;
using korvel::apptest::RecordedBoxes;

namespace {

std::vector<std::string> Paths(std::initializer_list<const char*> paths)
{
    return {paths.begin(), paths.end()};
}

struct MenuEntry {
    QString text;
    bool enabled;
};

// The visible items between the File menu's two separators.
QList<MenuEntry> RecentSection(CMainFrame* frame)
{
    QList<MenuEntry> entries;
    for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id) {
        QAction* action = frame->CommandAction(id);
        if (action->isVisible())
            entries.append({action->text(), action->isEnabled()});
    }
    return entries;
}

QAction* Placeholder(CMainFrame* frame)
{
    for (QObject* child : frame->children()) {
        auto* action = qobject_cast<QAction*>(child);
        if (action && action->text() == QStringLiteral("Recent File"))
            return action;
    }
    return nullptr;
}

}  // namespace

class AppRecentFilesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_docs;
    QString m_binDir;

    QString Document(const QString& name)
    {
        const QString path = m_docs.filePath(name);
        if (!QFileInfo::exists(path))
            apptest::WriteFile(path, apptest::OneShareDocument(name.toLatin1()));
        return path;
    }

    std::unique_ptr<CTavoApp> Start(const QStringList& arguments = {})
    {
        auto app = std::make_unique<CTavoApp>();
        app->SetExecutableDir(m_binDir);
        if (!app->InitInstance(arguments))
            return nullptr;
        return app;
    }

private slots:
    void initTestCase()
    {
        m_binDir = QFileInfo(test::GridControlModulePath()).absolutePath();
        // Documents in the current directory show by their names alone.
        QDir::setCurrent(m_docs.path());
    }

    void init() { QSettings(QStringLiteral("Hestrel"), QStringLiteral("Korvel")).clear(); }

    void listKeepsFourMostRecentFirst()
    {
        RecentFileList list(4);
        for (const char* path : {"/a", "/b", "/c", "/d", "/e"})
            list.Add(path);
        QCOMPARE(list.Paths(), Paths({"/e", "/d", "/c", "/b"}));
        list.Add("/c");  // used again: moves up, nothing falls off
        QCOMPARE(list.Paths(), Paths({"/c", "/e", "/d", "/b"}));
        list.Add("");
        list.Remove(1);
        list.Remove(7);
        QCOMPARE(list.Paths(), Paths({"/c", "/d", "/b"}));

        // Stored entries: gaps and repeats are dropped, at most four kept.
        list.Assign(Paths({"/x", "", "/y", "/x", "/z", "/w", "/v"}));
        QCOMPARE(list.Paths(), Paths({"/x", "/y", "/z", "/w"}));
    }

    void entryTextsNameTheDocumentShortly()
    {
        QCOMPARE(RecentEntryText(0, "/work/docs/growth", "/work/docs"), std::string("&1 growth"));
        QCOMPARE(RecentEntryText(3, "/work/r&d/plan", "/home"), std::string("&4 /work/r&&d/plan"));
        QCOMPARE(RecentEntryText(1, "/home/someone/portfolios/2024/quarterly/long-term", "/home"),
                 std::string("&2 /.../2024/quarterly/long-term"));
        QCOMPARE(AbbreviatePath("/short/path"), std::string("/short/path"));
        // A name that does not fit even alone is shown whole.
        const std::string longName(40, 'n');
        QCOMPARE(AbbreviatePath("/dir/" + longName), longName);
    }

    void emptyListShowsTheGreyedPlaceholder()
    {
        RecordedBoxes boxes;
        auto app = Start();
        QVERIFY(app);
        CMainFrame* frame = app->MainFrame();
        QVERIFY(RecentSection(frame).isEmpty());
        QAction* placeholder = Placeholder(frame);
        QVERIFY(placeholder && placeholder->isVisible() && !placeholder->isEnabled());

        app->Document()->OpenDocumentFile(Document(QStringLiteral("alpha")));
        QVERIFY(!placeholder->isVisible());
        const QList<MenuEntry> entries = RecentSection(frame);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].text, QStringLiteral("&1 alpha"));
        QVERIFY(entries[0].enabled);
        QCOMPARE(frame->CommandAction(ID_FILE_MRU_FILE1)->statusTip(), QStringLiteral("Open this document"));
    }

    void listSurvivesARestart()
    {
        RecordedBoxes boxes;
        {
            auto first = Start({Document(QStringLiteral("one"))});
            QVERIFY(first);
            for (const char* name : {"two", "three", "four", "five"})
                QVERIFY(first->Document()->OpenDocumentFile(Document(QString::fromLatin1(name))));
        }
        auto second = Start();
        QVERIFY(second);
        const QStringList expected{m_docs.filePath(QStringLiteral("five")), m_docs.filePath(QStringLiteral("four")),
                                   m_docs.filePath(QStringLiteral("three")), m_docs.filePath(QStringLiteral("two"))};
        QCOMPARE(second->RecentFiles(), expected);
        QCOMPARE(RecentSection(second->MainFrame()).size(), 4);
        QCOMPARE(RecentSection(second->MainFrame()).at(3).text, QStringLiteral("&4 two"));
        // The store is the user's, under Hestrel and Korvel.
        QSettings store(QStringLiteral("Hestrel"), QStringLiteral("Korvel"));
        QVERIFY(store.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        QCOMPARE(store.value(QStringLiteral("Recent File List/File1")).toString(), expected[0]);
        QVERIFY(boxes.requests.empty());
    }

    void choosingAnEntryOpensItAndADeadOneLeavesTheList()
    {
        RecordedBoxes boxes;
        const QString keep = Document(QStringLiteral("keep"));
        const QString gone = Document(QStringLiteral("gone"));
        auto app = Start();
        QVERIFY(app);
        QVERIFY(app->Document()->OpenDocumentFile(gone));
        QVERIFY(app->Document()->OpenDocumentFile(keep));

        app->MainFrame()->CommandAction(ID_FILE_MRU_FILE1 + 1)->trigger();
        QCOMPARE(app->MainFrame()->windowTitle(), QStringLiteral("gone - Korvel"));
        QCOMPARE(app->RecentFiles(), (QStringList{gone, keep}));

        QVERIFY(QFile::remove(gone));
        app->MainFrame()->CommandAction(ID_FILE_MRU_FILE1 + 1)->trigger();  // "keep"
        app->MainFrame()->CommandAction(ID_FILE_MRU_FILE1 + 1)->trigger();  // "gone", no longer there
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(boxes.requests.front().text.contains(QStringLiteral("gone")));
        QCOMPARE(app->RecentFiles(), QStringList{keep});
        QCOMPARE(RecentSection(app->MainFrame()).size(), 1);
        auto restarted = Start();
        QCOMPARE(restarted->RecentFiles(), QStringList{keep});
    }

    void cancellingTheSavePromptKeepsTheEntry()
    {
        RecordedBoxes boxes;
        const QString other = Document(QStringLiteral("other"));
        auto app = Start({other});
        QVERIFY(app);
        QVERIFY(app->Document()->OpenDocumentFile(Document(QStringLiteral("current"))));
        app->Document()->SetModifiedFlag(true);
        boxes.answers.push_back(IDCANCEL);
        app->MainFrame()->CommandAction(ID_FILE_MRU_FILE1 + 1)->trigger();
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(app->Document()->IsModified());
        QCOMPARE(app->RecentFiles().size(), 2);
        QVERIFY(app->RecentFiles().contains(other));
    }
};

KORVEL_TEST_MAIN(AppRecentFilesTest)
#include "app_recent_files_test.moc"
