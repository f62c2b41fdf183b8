// Start-up: the grid control's module is found, loaded and registered before
// any window, or the program ends; then the command line decides between a
// new worksheet and a named document.
#include "gui/app_test_support.h"
#include "support/FormControls.h"
#include "support/GridTestSupport.h"

#include "gui/app/GridModule.h"
#include "gui/app/MainFrame.h"
#include "gui/app/TavoApp.h"
#include "gui/grid/ControlRegistry.h"
#include "gui/grid/FlexGridControl.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>

using namespace korvel;
using korvel::apptest::RecordedBoxes;

namespace {

QString BinDir()
{
    return QFileInfo(test::GridControlModulePath()).absolutePath();
}

bool CopyTo(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to) && QFile::setPermissions(to, QFile::permissions(from));
}

QStringList TopLevelsShown()
{
    QStringList shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            shown.append(widget->windowTitle());
    }
    return shown;
}

}  // namespace

class AppStartupTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_emptySystemDir;
    QTemporaryDir m_emptyExeDir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_emptySystemDir.isValid() && m_emptyExeDir.isValid());
        qputenv("KORVEL_SYSTEM_DIR", m_emptySystemDir.path().toLocal8Bit());
    }

    void cleanup()
    {
        qputenv("KORVEL_SYSTEM_DIR", m_emptySystemDir.path().toLocal8Bit());
        QVERIFY(test::RegisterGridControlForTests());
    }

    void systemDirectoryFollowsTheEnvironmentUnlessEmpty()
    {
        qputenv("KORVEL_SYSTEM_DIR", "/somewhere/else");
        QCOMPARE(SystemDirectory(), std::string("/somewhere/else"));
        qputenv("KORVEL_SYSTEM_DIR", "");
        QCOMPARE(SystemDirectory(), std::string(DefaultSystemDir()));
        qunsetenv("KORVEL_SYSTEM_DIR");
        QCOMPARE(SystemDirectory(), std::string(DefaultSystemDir()));
    }

    void candidatesIgnoreCaseAndPreferTheExactName()
    {
        QTemporaryDir dir;
        for (const char* name : {"msflxgrd.OCX", "MSFLXGRD.ocx", "Msflxgrd.ocx", "Msflxgrd.ocx.bak"})
            QVERIFY(apptest::WriteFile(dir.filePath(QString::fromLatin1(name)), "x"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("msflxgrd.ocx")));  // a folder is no file

        const auto found = ModuleCandidates(dir.path().toStdString());
        QCOMPARE(found.size(), size_t(3));
        QCOMPARE(QString::fromStdString(found[0]), dir.filePath(QStringLiteral("Msflxgrd.ocx")));
        QCOMPARE(QString::fromStdString(found[1]), dir.filePath(QStringLiteral("MSFLXGRD.ocx")));
        QCOMPARE(QString::fromStdString(found[2]), dir.filePath(QStringLiteral("msflxgrd.OCX")));
        QVERIFY(ModuleCandidates("/no/such/folder").empty());
    }

    void aFileThatIsNoModuleCountsAsMissing()
    {
        QTemporaryDir exeDir;
        QTemporaryDir systemDir;
        QVERIFY(apptest::WriteFile(exeDir.filePath(QStringLiteral("Msflxgrd.ocx")), "not a module"));
        GridModuleSearch search{exeDir.path().toStdString(), systemDir.path().toStdString(), false};
        QCOMPARE(RegisterGridModule(search), GridRegistration::NotFound);

        // The search goes on to the system directory, where any letter case will do.
        const QString installed = systemDir.filePath(QStringLiteral("msflxgrd.ocx"));
        QVERIFY(CopyTo(test::GridControlModulePath(), installed));
        QVERIFY(UnregisterControlModule(QString::fromLatin1(kFlexGridClassId)));
        QCOMPARE(RegisterGridModule(search), GridRegistration::Registered);
        QCOMPARE(LookupControlModule(QString::fromLatin1(kFlexGridClassId)), installed);
    }

    void theFirstLoadableModuleDecides()
    {
        QTemporaryDir exeDir;
        QTemporaryDir systemDir;
        QVERIFY(CopyTo(QStringLiteral(KORVEL_NO_ENTRY_MODULE), exeDir.filePath(QStringLiteral("MSFLXGRD.OCX"))));
        QVERIFY(CopyTo(test::GridControlModulePath(), systemDir.filePath(QStringLiteral("Msflxgrd.ocx"))));
        GridModuleSearch search{exeDir.path().toStdString(), systemDir.path().toStdString(), false};
        QCOMPARE(RegisterGridModule(search), GridRegistration::NoEntryPoint);

        search.executableDir.clear();
        QCOMPARE(RegisterGridModule(search), GridRegistration::Registered);
    }

    void missingModuleShowsTheMessageAndNoWindow()
    {
        RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(m_emptyExeDir.path());
        QVERIFY(!app.InitInstance({}));
        QCOMPARE(app.ExitCode(), int(CTavoApp::kExitGridModuleMissing));
        QVERIFY(!app.MainFrame());
        QVERIFY(TopLevelsShown().isEmpty());

        QCOMPARE(boxes.requests.size(), size_t(1));
        const MessageBoxRequest& box = boxes.requests.front();
        QCOMPARE(box.text, QStringLiteral("Msflxgrd.ocx not found !"));
        QCOMPARE(box.caption, QStringLiteral("error"));
        QCOMPARE(box.buttons, MbButtons::Ok);
        QCOMPARE(box.icon, MbIcon::None);
        QVERIFY(box.owner == nullptr);
    }

    void moduleWithoutEntryPointEndsSilently()
    {
        QTemporaryDir exeDir;
        QVERIFY(CopyTo(QStringLiteral(KORVEL_NO_ENTRY_MODULE), exeDir.filePath(QStringLiteral("Msflxgrd.ocx"))));
        RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(exeDir.path());
        QVERIFY(!app.InitInstance({QStringLiteral("some-document")}));
        QCOMPARE(app.ExitCode(), int(CTavoApp::kExitNoRegisterEntry));
        QVERIFY(boxes.requests.empty());
        QVERIFY(!app.MainFrame());
        QVERIFY(TopLevelsShown().isEmpty());
    }

    // A file where the registry's folder should be: the module cannot record
    // itself, no grid can be made, and the user is told what and where.
    void aRegistryThatCannotBeWrittenIsNamedBeforeTheEnd()
    {
        const QString registryFile = ControlRegistryFile();
        QDir userConfig = QFileInfo(registryFile).dir();
        QVERIFY(userConfig.cdUp());
        const QString savedPath = userConfig.path();
        QTemporaryDir config;
        QVERIFY(apptest::WriteFile(config.filePath(QStringLiteral("ComponentRegistry")), "not a folder"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
        const auto restore =
            qScopeGuard([&] { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, savedPath); });

        RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(BinDir());
        QVERIFY(!app.InitInstance({}));
        QCOMPARE(app.ExitCode(), int(CTavoApp::kExitFrameFailed));
        QVERIFY(!app.MainFrame());
        QVERIFY(TopLevelsShown().isEmpty());
        QCOMPARE(boxes.requests.size(), size_t(1));
        const MessageBoxRequest& box = boxes.requests.front();
        QCOMPARE(box.text, QStringLiteral("Msflxgrd.ocx could not be registered: %1 cannot be written.")
                               .arg(config.filePath(QStringLiteral("ComponentRegistry/classes.ini"))));
        QCOMPARE(box.caption, QStringLiteral("error"));
        QVERIFY(box.owner == nullptr);
    }

    void presentModuleGivesAnUntitledWorksheet()
    {
        RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(BinDir());
        QVERIFY(app.InitInstance({}));
        QVERIFY(boxes.requests.empty());
        CMainFrame* frame = app.MainFrame();
        QVERIFY(frame && frame->isVisible());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Untitled - Korvel"));
        QCOMPARE(frame->GetActiveDocument(), app.Document());
        QVERIFY(!app.Document()->IsModified());
        QCOMPARE(frame->GetActiveView()->Grid().GetRows(), 2);
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Hestrel"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Korvel"));
    }

    void aDocumentOnTheCommandLineOpensInTheSameWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("growth"));
        QVERIFY(apptest::WriteFile(path, apptest::OneShareDocument("ABC")));

        RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(BinDir());
        // A relative path is taken from the current directory.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const bool started = app.InitInstance({QStringLiteral("growth")});
        QDir::setCurrent(previous);
        QVERIFY(started);
        QVERIFY(boxes.requests.empty());
        CMainFrame* frame = app.MainFrame();
        QCOMPARE(frame->windowTitle(), QStringLiteral("growth - Korvel"));
        QCOMPARE(app.Document()->GetPathName(), path);
        QCOMPARE(frame->GetActiveDocument(), app.Document());
        QCOMPARE(frame->GetActiveView()->Grid().GetTextMatrix(1, 1), std::string("ABC"));
        QVERIFY(!app.Document()->IsModified());
        QCOMPARE(app.RecentFiles(), QStringList{path});
    }

    void anyOtherCommandLineStartsANewWorksheet_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("two documents") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("print request") << QStringList{QStringLiteral("-p"), QStringLiteral("a")};
        QTest::newRow("an option alone") << QStringList{QStringLiteral("-a")};
        QTest::newRow("an empty argument") << QStringList{QString()};
    }

    void anyOtherCommandLineStartsANewWorksheet()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        QVERIFY(apptest::WriteFile(dir.filePath(QStringLiteral("a")), apptest::OneShareDocument("A")));
        QVERIFY(apptest::WriteFile(dir.filePath(QStringLiteral("b")), apptest::OneShareDocument("B")));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());

        RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(BinDir());
        const bool started = app.InitInstance(arguments);
        QDir::setCurrent(previous);
        QVERIFY(started);
        QVERIFY(boxes.requests.empty());
        QCOMPARE(app.MainFrame()->windowTitle(), QStringLiteral("Untitled - Korvel"));
        QCOMPARE(app.MainFrame()->GetActiveView()->Grid().GetTextMatrix(1, 1), std::string());
    }

    void aDocumentThatCannotBeOpenedEndsTheProgram_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing file") << QByteArray() << false;
        QTest::newRow("counts out of range") << QByteArray::fromHex("0100000005000000") << true;
        QTest::newRow("short file") << QByteArray::fromHex("020000000500000001") << true;
    }

    void aDocumentThatCannotBeOpenedEndsTheProgram()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken"));
        if (exists)
            QVERIFY(apptest::WriteFile(path, content));

        RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(BinDir());
        QVERIFY(!app.InitInstance({path}));
        QCOMPARE(app.ExitCode(), int(CTavoApp::kExitDocumentNotOpened));
        // The document layer tells why; the program adds nothing of its own.
        QCOMPARE(boxes.requests.size(), size_t(1));
        QVERIFY(boxes.requests.front().text.contains(QStringLiteral("broken")));
        QVERIFY(!app.MainFrame());
        QVERIFY(TopLevelsShown().isEmpty());
        QVERIFY(!app.RecentFiles().contains(path));
    }

    // The real program, started as a user would, in a folder of its own.
    void theProgramEndsAtOnceWithoutTheEntryPoint()
    {
        QTemporaryDir home;
        QTemporaryDir folder;
        const QString tavo = folder.filePath(QStringLiteral("Tavo"));
        QVERIFY(CopyTo(BinDir() + QStringLiteral("/Tavo"), tavo));
        QVERIFY(CopyTo(QStringLiteral(KORVEL_NO_ENTRY_MODULE), folder.filePath(QStringLiteral("msflxgrd.ocx"))));

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("KORVEL_SYSTEM_DIR"), m_emptySystemDir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(tavo, {});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), int(CTavoApp::kExitNoRegisterEntry));
        // No settings were written: start-up ended before the store was named.
        QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral(".config/Hestrel"))));
    }

    void theProgramRunsWithTheModuleBesideIt()
    {
        QTemporaryDir home;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("KORVEL_SYSTEM_DIR"), m_emptySystemDir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(BinDir() + QStringLiteral("/Tavo"), {});
        QVERIFY(process.waitForStarted());
        // It registered the module in this user's registry and waits for the user.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home.filePath(QStringLiteral(".config/ComponentRegistry"))), 10000);
        QVERIFY(!process.waitForFinished(1500));
        process.kill();
        process.waitForFinished();
    }
};

KORVEL_TEST_MAIN(AppStartupTest)
#include "app_startup_test.moc"
