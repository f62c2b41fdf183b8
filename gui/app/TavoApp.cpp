#include "gui/app/TavoApp.h"

#include "gui/app/AboutDialog.h"
#include "gui/app/CommandLine.h"
#include "gui/app/GridModule.h"
#include "gui/app/MainFrame.h"
#include "gui/framework/MessageBox.h"
#include "gui/grid/ControlRegistry.h"
#include "gui/resources/AppIcon.h"
#include "gui/resources/CommandIds.h"
#include "gui/worksheet/TavoDoc.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

using namespace korvel;

namespace {

constexpr const char* kRecentFileSection = "Recent File List";

// A document the user can still read: one whose open failed for another
// reason (a cancelled save prompt) keeps its place in the list.
bool FileStillOpens(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

}  // namespace

CTavoApp::CTavoApp(QObject* parent) : QObject(parent) {}

CTavoApp::~CTavoApp()
{
    m_frame.reset();
    m_document.reset();
}

bool CTavoApp::Fail(int exitCode)
{
    m_frame.reset();
    m_exitCode = exitCode;
    return false;
}

bool CTavoApp::InitInstance(const QStringList& arguments)
{
    // Menus show no toolbar images, as on the desktop this program came from.
    QApplication::setAttribute(Qt::AA_DontShowIconsInMenus);
    QApplication::setWindowIcon(AppIcon());

    if (!RegisterGridControl())
        return false;

    QCoreApplication::setOrganizationName(QStringLiteral("Hestrel"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvel"));
    LoadRecentFileList();

    std::vector<std::string> args;
    for (const QString& argument : arguments)
        args.push_back(argument.toStdString());
    const CommandLineRequest request = ParseCommandLine(args);

    // Both requests start with New: the empty worksheet is set up before a
    // named document is read into the same document and view.
    if (!CreateMainWindow()) {
        ExplainFailedRegistration();
        return Fail(kExitFrameFailed);
    }
    if (request.kind == CommandLineRequest::FileOpen) {
        const QString path = QFileInfo(QString::fromStdString(request.fileName)).absoluteFilePath();
        if (!m_document->OpenDocumentFile(path))
            return Fail(kExitDocumentNotOpened);
    }
    m_frame->show();
    return true;
}

bool CTavoApp::RegisterGridControl()
{
    GridModuleSearch search;
    search.executableDir =
        (m_executableDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_executableDir).toStdString();
    search.systemDir = SystemDirectory();
    switch (RegisterGridModule(search)) {
    case GridRegistration::Registered:
        return true;
    case GridRegistration::RegistrationFailed:
        m_registrationFailed = true;
        return true;
    case GridRegistration::NotFound:
        MessageBox(nullptr, QStringLiteral("Msflxgrd.ocx not found !"), QStringLiteral("error"), MbButtons::Ok,
                   MbIcon::None);
        return Fail(kExitGridModuleMissing);
    case GridRegistration::NoEntryPoint:
        return Fail(kExitNoRegisterEntry);
    }
    return Fail(kExitGridModuleMissing);
}

// Without it the user would see the program end with no word: the grid
// could not be made because its registration was never stored.
void CTavoApp::ExplainFailedRegistration()
{
    if (!m_registrationFailed)
        return;
    MessageBox(nullptr,
               QStringLiteral("Msflxgrd.ocx could not be registered: %1 cannot be written.")
                   .arg(QDir::toNativeSeparators(ControlRegistryFile())),
               QStringLiteral("error"), MbButtons::Ok, MbIcon::None);
}

bool CTavoApp::CreateMainWindow()
{
    m_document = std::make_unique<CTavoDoc>();
    m_frame = std::make_unique<CMainFrame>();
    if (!m_frame->Create(m_document.get()))
        return false;
    connect(m_frame.get(), &CMainFrame::ApplicationCommand, this, &CTavoApp::OnApplicationCommand);
    connect(m_frame.get(), &CMainFrame::RecentFileChosen, this, &CTavoApp::OnOpenRecentFile);
    connect(m_frame.get(), &CMainFrame::Closed, this, [] { QCoreApplication::quit(); });
    connect(m_document.get(), &CTavoDoc::DocumentPathUsed, this, &CTavoApp::AddToRecentFileList);
    ShowRecentFileList();
    return m_document->FileNew();
}

void CTavoApp::OnApplicationCommand(int id)
{
    switch (id) {
    case ID_FILE_NEW:
        OnFileNew();
        break;
    case ID_FILE_OPEN:
        OnFileOpen();
        break;
    case ID_APP_ABOUT:
        OnAppAbout();
        break;
    default:
        break;
    }
}

void CTavoApp::OnAppAbout()
{
    CAboutDialog about(m_frame.get());
    about.exec();
}

void CTavoApp::OnFileNew()
{
    if (m_document)
        m_document->FileNew();
}

void CTavoApp::OnFileOpen()
{
    if (m_document)
        m_document->FileOpen();
}

void CTavoApp::OnOpenRecentFile(int index)
{
    const QStringList paths = RecentFiles();
    if (!m_document || index < 0 || index >= paths.size())
        return;
    const QString path = paths[index];
    const bool wasModified = m_document->IsModified();
    if (m_document->OpenDocumentFile(path))
        return;
    // A cancelled save prompt leaves a modified document and a readable file.
    const bool cancelled = wasModified && m_document->IsModified() && FileStillOpens(path);
    if (cancelled)
        return;
    const qsizetype at = RecentFiles().indexOf(path);
    if (at < 0)
        return;
    m_recentFiles.Remove(static_cast<std::size_t>(at));
    SaveRecentFileList();
    ShowRecentFileList();
}

QStringList CTavoApp::RecentFiles() const
{
    QStringList paths;
    for (const std::string& path : m_recentFiles.Paths())
        paths.append(QString::fromStdString(path));
    return paths;
}

void CTavoApp::AddToRecentFileList(const QString& path)
{
    m_recentFiles.Add(QFileInfo(path).absoluteFilePath().toStdString());
    SaveRecentFileList();
    ShowRecentFileList();
}

void CTavoApp::LoadRecentFileList()
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kRecentFileSection));
    std::vector<std::string> paths;
    for (std::size_t i = 1; i <= m_recentFiles.Capacity(); ++i)
        paths.push_back(settings.value(QStringLiteral("File%1").arg(i)).toString().toStdString());
    m_recentFiles.Assign(paths);
}

// Written at every change rather than at exit, so that a run that ends
// abnormally keeps the list too.
void CTavoApp::SaveRecentFileList() const
{
    QSettings settings;
    settings.remove(QLatin1String(kRecentFileSection));
    settings.beginGroup(QLatin1String(kRecentFileSection));
    const QStringList paths = RecentFiles();
    for (int i = 0; i < paths.size(); ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), paths[i]);
    settings.endGroup();
    settings.sync();
}

void CTavoApp::ShowRecentFileList() const
{
    if (!m_frame)
        return;
    const std::string currentDir = QDir::currentPath().toStdString();
    QStringList entries;
    const auto& paths = m_recentFiles.Paths();
    for (std::size_t i = 0; i < paths.size(); ++i)
        entries.append(QString::fromStdString(RecentEntryText(i, paths[i], currentDir)));
    m_frame->SetRecentFileEntries(entries);
}
