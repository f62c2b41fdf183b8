#pragma once
// CMainFrame: the program's one top-level window, with the menu bar, the main
// and action toolbars, the status bar and the Single analysis window. It
// routes the commands of its menus, toolbars and accelerators to their owners
// and asks them for the commands' enabled states.
#include "gui/analysis/AnalysisDialog.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QSet>
#include <array>
#include <map>

class CTavoDoc;
class CTavoView;
class QLabel;
class QToolBar;

namespace korvel {
class CCmdUI;
class LockKeyIndicators;
class MenuColumnsWidget;
struct ToolbarDef;
}  // namespace korvel

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Window creation (OnCreate): the view of document, then the bars, then
    // the Single analysis window. False when the view, a toolbar or the status
    // bar cannot be made; the frame is then unusable.
    bool Create(CTavoDoc* document);

    CTavoView* GetActiveView() const { return m_view; }
    CTavoDoc* GetActiveDocument() const { return m_document; }

    // The action of a command id, shared by its menu item, toolbar button and
    // accelerators; null for an id the frame does not know.
    QAction* CommandAction(int id) const;
    QToolBar* MainToolBar() const { return m_wndToolBar; }
    QToolBar* ActionToolBar() const { return m_wndActionBar; }
    QStatusBar* StatusBar() const { return m_wndStatusBar; }
    QLabel* MessagePane() const { return m_messagePane; }
    korvel::LockKeyIndicators* Indicators() const { return m_indicators; }
    korvel::MenuColumnsWidget* ActionMenuColumns() const { return m_actionColumns; }
    CAnalysisDialog& AnalysisDialog() { return m_analysisDialog; }

    // The recent-file entries ("&1 name" ...), at most four; none shows the
    // greyed "Recent File" placeholder.
    void SetRecentFileEntries(const QStringList& entries);

    // Runs a command as an accelerator does: its enabled state is asked first
    // and a disabled command does nothing.
    void ExecuteCommand(int id);
    // Asks every command's owner for its enabled state and check mark.
    void UpdateCommandStates();

    // The caption: "<document title> - Korvel".
    void OnUpdateFrameTitle();

    // The frame's own commands.
    void OnToggleActionBar();
    void OnDeletePeriod();
    void OnUpdateToggleActionBar(korvel::CCmdUI* cmdUI);
    void OnAnalyse();

    // No toolbar context menu: bars are shown and hidden through the View menu.
    QMenu* createPopupMenu() override { return nullptr; }

signals:
    // New, Open and About belong to the application.
    void ApplicationCommand(int id);
    void RecentFileChosen(int index);
    // The main window closed: the run is over.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool CreateView(CTavoDoc* document);
    void CreateActions();
    void CreateMenus();
    void CreateAccelerators();
    bool CreateToolBars();
    bool CreateStatusBar();
    QToolBar* CreateToolBar(const korvel::ToolbarDef& resource, const QString& name);
    void RouteCommand(int id);
    void ToggleBar(QWidget* bar);
    void ScheduleCommandStateUpdate();
    void WatchFocusWidget(QWidget* widget);
    bool IsOurAccelerator(const QKeyEvent* event) const;
    bool IsMenuBarKey(const QKeyEvent* event) const;
    void OnDestroy();
    void DisconnectOutsideSenders();

    QStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    QToolBar* m_wndActionBar = nullptr;
    CAnalysisDialog m_analysisDialog;

    CTavoDoc* m_document = nullptr;
    CTavoView* m_view = nullptr;
    QLabel* m_messagePane = nullptr;
    korvel::LockKeyIndicators* m_indicators = nullptr;
    korvel::MenuColumnsWidget* m_actionColumns = nullptr;
    std::map<int, QAction*> m_actions;
    std::array<QAction*, 4> m_recentActions{};
    QAction* m_recentPlaceholder = nullptr;
    QSet<QKeySequence> m_acceleratorKeys;
    QMetaObject::Connection m_focusTextConnection;
    QMetaObject::Connection m_focusSelectionConnection;
    // Connections to senders that outlive the frame (the application, the
    // clipboard, the document): the frame cuts them before it goes.
    QList<QMetaObject::Connection> m_outsideConnections;
    bool m_analysisReady = false;
    bool m_updatePending = false;
    bool m_destroyed = false;
};
