// gridsetup on real files in temporary directories. CI runs as root, whom
// permissions do not stop, so the rows that need a read-only folder run this
// same test program again inside a private mount namespace (unshare -m) with
// a read-only bind mount; there it installs and prints what the result seam
// received.
#include "GridSetup.h"
#include "ResultBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using gridsetup::Outcome;

namespace {

constexpr const char* kProbeVariable = "GRIDSETUP_TEST_PROBE";
constexpr const char* kProbeMarker = "probe ran";

struct Shown {
    QStringList messages;  // "caption|text" per box
};

// Inside the namespace: one run, the seam's calls and the outcome on stdout.
int RunProbe()
{
    gridsetup::SetResultPresenter([](const std::string& text, const std::string& caption) {
        std::printf("box %s|%s\n", caption.c_str(), text.c_str());
    });
    const Outcome outcome = gridsetup::RunGridSetup();
    std::printf("%s\noutcome %d\n", kProbeMarker, static_cast<int>(outcome));
    return 0;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QStringList Entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class GridSetupTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void movesTheFileAndReportsSuccess();
    void replacesAnyEarlierSpellingAndPrefersTheExactSource();
    void secondRunFindsNothingToCopyAndStaysSilent();
    void copyFailingOntoAnInstalledModuleIsSilent();
    void copyFailingWithNothingInstalledReportsFailure();
    void unreadableCurrentDirectoryEndsSilently();
    void sameFolderForSourceAndSystemKeepsTheFile();
    void readOnlySourceFolderKeepsBothCopies();
    void readOnlySystemFolderFailsWithoutChangingIt();
    void realProgramMovesTheFileEndToEnd();
    void realProgramEndsAtOnceWhereNoBoxCanBeShown_data();
    void realProgramEndsAtOnceWhereNoBoxCanBeShown();
    void realProgramUnderAFileSizeLimitFailsCleanly();

private:
    QString Work() const { return m_root.path() + "/work"; }
    QString System() const { return m_root.path() + "/lib/korvel"; }
    QString Installed() const { return System() + "/Msflxgrd.ocx"; }
    Outcome Run(const QString& currentDirectory);
    std::optional<Outcome> RunReadOnly(const QString& readOnlyDirectory, const QString& currentDirectory);
    static void EnterNewLevels(const QString& base, int targetLength);
    struct ProgramRun {
        bool finished = false;
        QProcess::ExitStatus status = QProcess::CrashExit;
        int exitCode = -1;
        QByteArray standardError;
    };
    ProgramRun RunProgram(const QProcessEnvironment& environment, rlim_t fileSizeLimit = RLIM_INFINITY);

    QTemporaryDir m_root;
    QString m_savedDirectory;
    QByteArray m_savedSystemVariable;
    Shown m_shown;
    QString m_namespaceError;
};

void GridSetupTest::init()
{
    QVERIFY(m_root.isValid());
    QVERIFY(QDir().mkpath(Work()));
    m_savedDirectory = QDir::currentPath();
    m_savedSystemVariable = qgetenv(gridsetup::kSystemDirVariable);
    qputenv(gridsetup::kSystemDirVariable, System().toLocal8Bit());
    m_shown = {};
    gridsetup::SetResultPresenter([this](const std::string& text, const std::string& caption) {
        m_shown.messages << QString::fromStdString(caption + "|" + text);
    });
}

void GridSetupTest::cleanup()
{
    gridsetup::SetResultPresenter({});
    QVERIFY(QDir::setCurrent(m_savedDirectory));
    qputenv(gridsetup::kSystemDirVariable, m_savedSystemVariable);
    QDir(m_root.path()).removeRecursively();
    QDir().mkpath(m_root.path());
}

Outcome GridSetupTest::Run(const QString& currentDirectory)
{
    if (!QDir::setCurrent(currentDirectory))
        qFatal("cannot enter %s", qPrintable(currentDirectory));
    const Outcome outcome = gridsetup::RunGridSetup();
    QDir::setCurrent(m_savedDirectory);
    return outcome;
}

// Runs this program as the probe in a private mount namespace where
// readOnlyDirectory is a read-only bind mount of itself.
std::optional<Outcome> GridSetupTest::RunReadOnly(const QString& readOnlyDirectory, const QString& currentDirectory)
{
    const QString script =
        QStringLiteral("mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" && cd \"$2\" && exec \"$3\"");
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kProbeVariable, "1");
    probe.setProcessEnvironment(environment);
    probe.start("unshare", {"-m", "--propagation", "private", "sh", "-c", script, "sh", readOnlyDirectory,
                            currentDirectory, QCoreApplication::applicationFilePath()});
    if (!probe.waitForFinished(60000))
        qFatal("probe did not finish");
    const QString out = QString::fromLocal8Bit(probe.readAllStandardOutput());
    if (!out.contains(kProbeMarker)) {
        m_namespaceError = "a read-only folder for root needs a private mount namespace: "
                           + QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
        return std::nullopt;
    }
    for (const QString& line : out.split('\n')) {
        if (line.startsWith("box "))
            m_shown.messages << line.mid(4);
        if (line.startsWith("outcome "))
            return static_cast<Outcome>(line.mid(8).toInt());
    }
    qFatal("probe printed no outcome");
}

void GridSetupTest::movesTheFileAndReportsSuccess()
{
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "module v2"));
    // The system directory does not exist yet: it is created on the way.
    QCOMPARE(Run(Work()), Outcome::Moved);
    QCOMPARE(m_shown.messages, QStringList{"result|Success !"});
    QCOMPARE(Entries(Work()), QStringList{});
    QCOMPARE(Entries(System()), QStringList{"Msflxgrd.ocx"});
    QCOMPARE(ReadAll(Installed()), QByteArray("module v2"));
    struct stat info {};
    QCOMPARE(::stat(Installed().toLocal8Bit().constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0755));
}

void GridSetupTest::replacesAnyEarlierSpellingAndPrefersTheExactSource()
{
    QVERIFY(QDir().mkpath(System()));
    QVERIFY(WriteFile(System() + "/MSFLXGRD.OCX", "old upper"));
    QVERIFY(WriteFile(System() + "/msflxgrd.ocx", "old lower"));
    QVERIFY(WriteFile(Work() + "/msflxgrd.ocx", "lower source"));
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "exact source"));
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx.bak", "not the module"));

    QCOMPARE(Run(Work()), Outcome::Moved);
    QCOMPARE(m_shown.messages, QStringList{"result|Success !"});
    QCOMPARE(Entries(System()), QStringList{"Msflxgrd.ocx"});
    QCOMPARE(ReadAll(Installed()), QByteArray("exact source"));
    QCOMPARE(Entries(Work()), (QStringList{"Msflxgrd.ocx.bak", "msflxgrd.ocx"}));

    // Only another spelling left: it is taken, and written under the one name.
    m_shown = {};
    QCOMPARE(Run(Work()), Outcome::Moved);
    QCOMPARE(ReadAll(Installed()), QByteArray("lower source"));
    QCOMPARE(Entries(Work()), QStringList{"Msflxgrd.ocx.bak"});
}

void GridSetupTest::secondRunFindsNothingToCopyAndStaysSilent()
{
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "module"));
    QCOMPARE(Run(Work()), Outcome::Moved);
    m_shown = {};
    QCOMPARE(Run(Work()), Outcome::NotCopiedButPresent);
    QCOMPARE(m_shown.messages, QStringList{});
    QCOMPARE(ReadAll(Installed()), QByteArray("module"));

    // The existence test takes any spelling too.
    QVERIFY(QFile::rename(Installed(), System() + "/MSFLXGRD.ocx"));
    QCOMPARE(Run(Work()), Outcome::NotCopiedButPresent);
    QCOMPARE(m_shown.messages, QStringList{});
}

void GridSetupTest::copyFailingOntoAnInstalledModuleIsSilent()
{
    // A directory where the module should go: the rename over it fails.
    QVERIFY(QDir().mkpath(Installed()));
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "module"));
    QCOMPARE(Run(Work()), Outcome::NotCopiedButPresent);
    QCOMPARE(m_shown.messages, QStringList{});
    QCOMPARE(ReadAll(Work() + "/Msflxgrd.ocx"), QByteArray("module"));
    QCOMPARE(Entries(System()), QStringList{"Msflxgrd.ocx"});  // no temporary file left
    QVERIFY(QFileInfo(Installed()).isDir());
}

void GridSetupTest::copyFailingWithNothingInstalledReportsFailure()
{
    // Nothing anywhere: no folder is created for nothing.
    QCOMPARE(Run(Work()), Outcome::Failed);
    QCOMPARE(m_shown.messages, QStringList{"result|Failure"});
    QVERIFY(!QFileInfo::exists(System()));

    // A folder of the module's name is not something to copy.
    m_shown = {};
    QVERIFY(QDir().mkpath(Work() + "/msflxgrd.OCX"));
    QCOMPARE(Run(Work()), Outcome::Failed);
    QCOMPARE(m_shown.messages, QStringList{"result|Failure"});
    QVERIFY(QDir().rmdir(Work() + "/msflxgrd.OCX"));

    // The system directory cannot be created (a file stands in its path).
    m_shown = {};
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "module"));
    QVERIFY(WriteFile(m_root.path() + "/plain", "x"));
    qputenv(gridsetup::kSystemDirVariable, (m_root.path() + "/plain/korvel").toLocal8Bit());
    QCOMPARE(Run(Work()), Outcome::Failed);
    QCOMPARE(m_shown.messages, QStringList{"result|Failure"});

    // A system directory too long to name the module in is refused.
    m_shown = {};
    qputenv(gridsetup::kSystemDirVariable, "/tmp/" + QByteArray(PATH_MAX, 'k'));
    QCOMPARE(Run(Work()), Outcome::Failed);
    QCOMPARE(m_shown.messages, QStringList{"result|Failure"});
    QCOMPARE(ReadAll(Work() + "/Msflxgrd.ocx"), QByteArray("module"));
}

void GridSetupTest::unreadableCurrentDirectoryEndsSilently()
{
    // A current directory that was removed cannot be read.
    const QString gone = Work() + "/gone";
    QVERIFY(QDir().mkpath(gone));
    QVERIFY(QDir::setCurrent(gone));
    QVERIFY(QDir().rmdir(gone));
    QCOMPARE(gridsetup::RunGridSetup(), Outcome::NoCurrentDirectory);
    QVERIFY(QDir::setCurrent(m_savedDirectory));
    QCOMPARE(m_shown.messages, QStringList{});
    QVERIFY(!QFileInfo::exists(System()));

    // The longest current directory that still names the module in a PATH_MAX
    // buffer works; one character more counts as unreadable.
    const int longest = PATH_MAX - 1 - 13;
    EnterNewLevels(Work() + "/a", longest);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(WriteFile("Msflxgrd.ocx", "module"));
    QCOMPARE(gridsetup::RunGridSetup(), Outcome::Moved);
    QCOMPARE(m_shown.messages, QStringList{"result|Success !"});

    m_shown = {};
    QVERIFY(QDir().remove(Installed()));
    EnterNewLevels(Work() + "/b", longest + 1);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(WriteFile("Msflxgrd.ocx", "module"));
    QCOMPARE(gridsetup::RunGridSetup(), Outcome::NoCurrentDirectory);
    // Its full path is too long for the clean-up: removed from inside.
    QCOMPARE(::unlink("Msflxgrd.ocx"), 0);
    QVERIFY(QDir::setCurrent(m_savedDirectory));
    QCOMPARE(m_shown.messages, QStringList{});
    QVERIFY(!QFileInfo::exists(Installed()));
}

// Makes and enters nested folders below base until the current directory's
// path is exactly targetLength characters long.
void GridSetupTest::EnterNewLevels(const QString& base, int targetLength)
{
    QVERIFY(QDir().mkpath(base));
    QVERIFY(QDir::setCurrent(base));
    int length = base.size();
    while (length < targetLength) {
        const int remaining = targetLength - length;
        const int level = remaining > 202 ? 200 : remaining - 1;
        const std::string name(level, 'd');
        QVERIFY(::mkdir(name.c_str(), 0755) == 0 && ::chdir(name.c_str()) == 0);
        length += 1 + level;
    }
    char buffer[PATH_MAX];
    QVERIFY(::getcwd(buffer, sizeof buffer));
    QCOMPARE(int(std::strlen(buffer)), targetLength);
}

// Copying the file onto itself and then deleting the "source" would lose it.
void GridSetupTest::sameFolderForSourceAndSystemKeepsTheFile()
{
    QVERIFY(QDir().mkpath(System()));
    QVERIFY(WriteFile(Installed(), "module"));
    QCOMPARE(Run(System()), Outcome::NotCopiedButPresent);
    QCOMPARE(m_shown.messages, QStringList{});
    QCOMPARE(Entries(System()), QStringList{"Msflxgrd.ocx"});
    QCOMPARE(ReadAll(Installed()), QByteArray("module"));
}

void GridSetupTest::readOnlySourceFolderKeepsBothCopies()
{
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "module"));
    const std::optional<Outcome> outcome = RunReadOnly(Work(), Work());
    if (!outcome)
        QSKIP(qPrintable(m_namespaceError));
    QCOMPARE(*outcome, Outcome::CopiedSourceKept);
    QCOMPARE(m_shown.messages, QStringList{});
    QCOMPARE(ReadAll(Work() + "/Msflxgrd.ocx"), QByteArray("module"));
    QCOMPARE(ReadAll(Installed()), QByteArray("module"));
}

void GridSetupTest::readOnlySystemFolderFailsWithoutChangingIt()
{
    QVERIFY(QDir().mkpath(System()));
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "new module"));

    // Nothing installed yet: no write permission is a failure.
    std::optional<Outcome> outcome = RunReadOnly(System(), Work());
    if (!outcome)
        QSKIP(qPrintable(m_namespaceError));
    QCOMPARE(*outcome, Outcome::Failed);
    QCOMPARE(m_shown.messages, QStringList{"result|Failure"});
    QCOMPARE(Entries(System()), QStringList{});

    // An earlier install stands there: it stays, and nothing is shown.
    m_shown = {};
    QVERIFY(WriteFile(Installed(), "old module"));
    outcome = RunReadOnly(System(), Work());
    QVERIFY(outcome);
    QCOMPARE(*outcome, Outcome::NotCopiedButPresent);
    QCOMPARE(m_shown.messages, QStringList{});
    QCOMPARE(ReadAll(Installed()), QByteArray("old module"));
    QCOMPARE(ReadAll(Work() + "/Msflxgrd.ocx"), QByteArray("new module"));
}

// The built program, with arguments it must ignore. Without any window system
// the box's text goes to standard error, so this row runs headless.
void GridSetupTest::realProgramMovesTheFileEndToEnd()
{
    const QString program = QString::fromLocal8Bit(qgetenv("KORVEL_BIN_DIR")) + "/gridsetup";
    QVERIFY2(QFileInfo(program).isExecutable(), qPrintable(program));
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "module"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(name);
    environment.insert(gridsetup::kSystemDirVariable, System());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(Work());

    process.start(program, {"--help", "ignored"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError(), QByteArray("result: Success !\n"));
    QCOMPARE(ReadAll(Installed()), QByteArray("module"));
    QVERIFY(!QFileInfo::exists(Work() + "/Msflxgrd.ocx"));

    // Run again: the silent row, still exit code 0.
    process.start(program, {});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
}

// The built program in Work(), under a time limit: it must never wait for an
// answer nobody can give.
GridSetupTest::ProgramRun GridSetupTest::RunProgram(const QProcessEnvironment& environment, rlim_t fileSizeLimit)
{
    const QString program = QString::fromLocal8Bit(qgetenv("KORVEL_BIN_DIR")) + "/gridsetup";
    QProcess process;
    QProcessEnvironment withSystem = environment;
    withSystem.insert(gridsetup::kSystemDirVariable, System());
    process.setProcessEnvironment(withSystem);
    process.setWorkingDirectory(Work());
    process.setChildProcessModifier([fileSizeLimit] {
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.start(program, {});
    ProgramRun run;
    run.finished = process.waitForFinished(10000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus();
    run.exitCode = process.exitCode();
    run.standardError = process.readAllStandardError();
    return run;
}

void GridSetupTest::realProgramEndsAtOnceWhereNoBoxCanBeShown_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("platform");
    // A display number nobody serves, as under sudo from a desktop session.
    QTest::newRow("display that does not answer") << ":917"
                                                  << "";
    QTest::newRow("named platform, display that does not answer") << ":917"
                                                                  << "xcb";
    QTest::newRow("offscreen") << ""
                               << "offscreen";
    QTest::newRow("minimal") << ""
                             << "minimal";
    QTest::newRow("offscreen beside a display") << ":917"
                                                << "offscreen";
}

void GridSetupTest::realProgramEndsAtOnceWhereNoBoxCanBeShown()
{
    QFETCH(QString, display);
    QFETCH(QString, platform);
    QVERIFY(!QFileInfo::exists("/tmp/.X11-unix/X917"));
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", "module"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
        environment.remove(name);
    if (!display.isEmpty())
        environment.insert("DISPLAY", display);
    if (!platform.isEmpty())
        environment.insert("QT_QPA_PLATFORM", platform);

    const ProgramRun run = RunProgram(environment);
    QVERIFY2(run.finished, "gridsetup waited for an answer");
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardError, QByteArray("result: Success !\n"));
    QCOMPARE(ReadAll(Installed()), QByteArray("module"));
}

// A write refused by the size limit is a failed copy like any other: the
// module is not half installed and no temporary file stays behind.
void GridSetupTest::realProgramUnderAFileSizeLimitFailsCleanly()
{
    QVERIFY(WriteFile(Work() + "/Msflxgrd.ocx", QByteArray(256 * 1024, 'm')));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(name);

    ProgramRun run = RunProgram(environment, 4096);
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardError, QByteArray("result: Failure\n"));
    QCOMPARE(Entries(System()), QStringList{});
    QCOMPARE(ReadAll(Work() + "/Msflxgrd.ocx").size(), 256 * 1024);

    // An earlier install stays as it was, and nothing is shown.
    QVERIFY(WriteFile(Installed(), "old module"));
    run = RunProgram(environment, 4096);
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardError, QByteArray());
    QCOMPARE(Entries(System()), QStringList{"Msflxgrd.ocx"});
    QCOMPARE(ReadAll(Installed()), QByteArray("old module"));
}

// Like QTEST_MAIN, but the probe runs before any application object exists.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kProbeVariable))
        return RunProbe();
    QApplication application(argc, argv);
    GridSetupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "gridsetup_test.moc"
