#pragma once
// CTavoApp: the application object. Its start-up (InitInstance) registers the
// grid control's module, names the settings store, loads the recent-file list,
// creates the document, the main frame and the view, carries out the command
// line and shows the main window. Afterwards it handles About, New, Open and
// the recent-file entries.
#include "gui/app/RecentFileList.h"

#include <QObject>
#include <QStringList>
#include <memory>

class CMainFrame;
class CTavoDoc;

class CTavoApp : public QObject {
    Q_OBJECT
public:
    // Exit codes of a start-up that fails, so that a script can tell why a
    // run ended without a window.
    enum StartupExit : int {
        kExitFrameFailed = 1,
        kExitGridModuleMissing = 2,
        kExitNoRegisterEntry = 3,
        kExitDocumentNotOpened = 4,
    };

    explicit CTavoApp(QObject* parent = nullptr);
    ~CTavoApp() override;

    // arguments: the command line without the program name. True when the
    // main window is up and the message loop is to run; false when the
    // program is to end at once with ExitCode().
    bool InitInstance(const QStringList& arguments);
    int ExitCode() const { return m_exitCode; }

    // Where the grid control's module is looked for first; by default the
    // directory of the running executable.
    void SetExecutableDir(const QString& dir) { m_executableDir = dir; }

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CTavoDoc* Document() const { return m_document.get(); }
    QStringList RecentFiles() const;

    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(int index);

private:
    bool Fail(int exitCode);
    bool RegisterGridControl();
    void ExplainFailedRegistration();
    bool CreateMainWindow();
    void OnApplicationCommand(int id);
    void AddToRecentFileList(const QString& path);
    void LoadRecentFileList();
    void SaveRecentFileList() const;
    void ShowRecentFileList() const;

    // The document outlives the frame and its view, which point to it.
    std::unique_ptr<CTavoDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    korvel::RecentFileList m_recentFiles{4};
    QString m_executableDir;
    int m_exitCode = 0;
    bool m_registrationFailed = false;
};
