#include "gui/app/MainFrame.h"

#include "gui/app/LockKeyIndicators.h"
#include "gui/resources/AppIcon.h"
#include "gui/resources/CommandIds.h"
#include "gui/resources/CommandStrings.h"
#include "gui/resources/MainFrameResources.h"
#include "gui/resources/ToolbarImages.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include "gui/framework/CmdUI.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

using namespace korvel;

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowIcon(AppIcon());
}

CMainFrame::~CMainFrame()
{
    if (!m_destroyed)
        OnDestroy();
    qApp->removeEventFilter(this);
    DisconnectOutsideSenders();
}

// QObject would cut these only after the widgets are gone, and focus moves
// while they go: a handler would then run on a frame that is no longer one.
void CMainFrame::DisconnectOutsideSenders()
{
    for (const QMetaObject::Connection& connection : std::as_const(m_outsideConnections))
        disconnect(connection);
    m_outsideConnections.clear();
    disconnect(m_focusTextConnection);
    disconnect(m_focusSelectionConnection);
}

bool CMainFrame::Create(CTavoDoc* document)
{
    if (!CreateView(document))
        return false;
    CreateActions();
    CreateMenus();
    CreateAccelerators();
    if (!CreateToolBars())
        return false;
    // A window that cannot be made leaves Analyse without a window to show.
    m_analysisReady = m_analysisDialog.Create();

    m_outsideConnections << connect(m_document, &CTavoDoc::TitleChanged, this, &CMainFrame::OnUpdateFrameTitle);
    m_outsideConnections << connect(m_document, &CTavoDoc::ModifiedChanged, this,
                                    &CMainFrame::ScheduleCommandStateUpdate);
    OnUpdateFrameTitle();
    UpdateCommandStates();

    // The desktop's default size for a new main window: three quarters of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 3 / 4);
    return true;
}

bool CMainFrame::CreateView(CTavoDoc* document)
{
    m_document = document;
    auto* view = new CTavoView(document, this);
    if (!view->Create()) {
        delete view;
        return false;
    }
    m_view = view;
    document->SetView(view);
    setCentralWidget(view);
    return true;
}

QToolBar* CMainFrame::CreateToolBar(const ToolbarDef& resource, const QString& name)
{
    auto* bar = new QToolBar(name, this);
    bar->setObjectName(name);
    bar->setIconSize(QSize(resource.buttonWidth, resource.buttonHeight));
    bar->setMovable(true);  // the gripper
    bar->setFloatable(true);
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : resource.buttons) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = CommandAction(id);
        if (!action || action->icon().isNull()) {
            delete bar;
            return nullptr;
        }
        bar->addAction(action);
    }
    return bar;
}

bool CMainFrame::CreateToolBars()
{
    m_wndToolBar = CreateToolBar(MainToolbar(), QStringLiteral("Main toolbar"));
    if (!m_wndToolBar || !CreateStatusBar())
        return false;
    m_wndActionBar = CreateToolBar(ActionToolbar(), QStringLiteral("Action toolbar"));
    if (!m_wndActionBar)
        return false;
    // Each bar docks in a row of its own at the top: the main toolbar first,
    // the action toolbar below it.
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_wndActionBar);
    return true;
}

bool CMainFrame::CreateStatusBar()
{
    m_wndStatusBar = new QStatusBar(this);
    // The message pane stretches; prompts replace "Ready" while they show.
    m_messagePane = new QLabel(LoadString(AFX_IDS_IDLEMESSAGE), m_wndStatusBar);
    m_messagePane->setObjectName(QStringLiteral("MessagePane"));
    m_wndStatusBar->addWidget(m_messagePane, 1);
    m_indicators = new LockKeyIndicators(m_wndStatusBar);
    setStatusBar(m_wndStatusBar);
    return true;
}

void CMainFrame::OnUpdateFrameTitle()
{
    const QString appTitle = LoadString(IDR_MAINFRAME).section(QLatin1Char('\n'), 0, 0);
    const QString title = m_document ? m_document->GetTitle() : QString();
    setWindowTitle(title.isEmpty() ? appTitle : title + QStringLiteral(" - ") + appTitle);
}

void CMainFrame::ToggleBar(QWidget* bar)
{
    if (!bar)
        return;
    bar->setVisible(!bar->isVisibleTo(this));
    UpdateCommandStates();
}

void CMainFrame::OnToggleActionBar()
{
    ToggleBar(m_wndActionBar);
}

void CMainFrame::OnUpdateToggleActionBar(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_wndActionBar && m_wndActionBar->isVisibleTo(this));
}

void CMainFrame::OnAnalyse()
{
    if (!m_analysisReady)
        return;
    m_analysisDialog.showNormal();
    m_analysisDialog.raise();
    m_analysisDialog.activateWindow();
}

void CMainFrame::OnDestroy()
{
    m_destroyed = true;
    m_analysisDialog.hide();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_document && !m_document->SaveModified()) {
        event->ignore();
        return;
    }
    OnDestroy();
    event->accept();
    emit Closed();
}
