// The frame's commands: actions, menus, accelerators, routing and enabled states.
#include "gui/app/MainFrame.h"

#include "gui/app/MenuColumns.h"
#include "gui/framework/CmdUI.h"
#include "gui/framework/MenuBarFocus.h"
#include "gui/resources/CommandIds.h"
#include "gui/resources/CommandStrings.h"
#include "gui/resources/MainFrameResources.h"
#include "gui/resources/ToolbarImages.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStatusBar>
#include <QStyleOption>
#include <QTimer>
#include <QToolBar>

using namespace korvel;

namespace {

QAction* NewCommandAction(int id, const QString& text, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setData(id);
    action->setStatusTip(CommandPrompt(id));
    // Without a tooltip of its own an action would show its menu text.
    const QString tooltip = CommandTooltip(id);
    action->setToolTip(tooltip.isEmpty() ? CommandPrompt(id) : tooltip);
    action->setIconVisibleInMenu(false);
    const QPixmap image = ToolbarButtonImage(id);
    if (!image.isNull())
        action->setIcon(QIcon(image));
    return action;
}

// Greyed menu items can still be selected, by the pointer and by the keys, and
// show their prompts, as on the desktop this program came from; choosing one
// does nothing. A menu title chosen by the keys is highlighted even while its
// menu is closed.
class MenuStyle : public QProxyStyle {
public:
    explicit MenuStyle(QObject* owner) : QProxyStyle(QApplication::style()->name()) { setParent(owner); }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (!item || !item->state.testFlag(State_Selected)) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionMenuItem shown = *item;
        // Many styles draw no selection on a greyed item: draw it as a selected
        // item whose text keeps the greyed colour, so the keys can be followed.
        if (element == CE_MenuItem && !item->state.testFlag(State_Enabled)) {
            shown.state |= State_Enabled;
            shown.palette.setColor(QPalette::HighlightedText, item->palette.color(QPalette::Disabled, QPalette::Text));
        }
        // Many styles highlight a title only while its menu is open; the menu
        // bar holds the focus only while the keys work it.
        if (element == CE_MenuBarItem && widget && widget->hasFocus())
            shown.state |= State_Sunken;
        QProxyStyle::drawControl(element, &shown, painter, widget);
    }
};

}  // namespace

QAction* CMainFrame::CommandAction(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::CreateActions()
{
    for (const MenuDef& menu : MainMenu()) {
        for (const MenuItemDef& item : menu.items) {
            if (item.kind != MenuItemKind::Command || item.id == ID_FILE_MRU_FILE1)
                continue;
            QAction* action = NewCommandAction(item.id, QString::fromLatin1(item.text), this);
            connect(action, &QAction::triggered, this, [this, id = item.id] { RouteCommand(id); });
            m_actions[item.id] = action;
        }
    }
    m_recentPlaceholder = NewCommandAction(ID_FILE_MRU_FILE1, QStringLiteral("Recent File"), this);
    m_recentPlaceholder->setEnabled(false);
    for (int i = 0; i < static_cast<int>(m_recentActions.size()); ++i) {
        const int id = ID_FILE_MRU_FILE1 + i;
        QAction* action = NewCommandAction(id, QString(), this);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_recentActions[i] = action;
        m_actions[id] = action;
    }
}

void CMainFrame::CreateMenus()
{
    auto* menuStyle = new MenuStyle(this);
    menuBar()->setStyle(menuStyle);
    for (const MenuDef& def : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(def.title));
        menu->setStyle(menuStyle);
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
        QList<QList<QAction*>> columns{{}};
        bool hasColumnBreak = false;
        for (const MenuItemDef& item : def.items) {
            switch (item.kind) {
            case MenuItemKind::Separator: {
                auto* separator = new QAction(menu);
                separator->setSeparator(true);
                columns.back().append(separator);
                break;
            }
            case MenuItemKind::ColumnBreak:
                hasColumnBreak = true;
                columns.append(QList<QAction*>());
                break;
            case MenuItemKind::Command:
                if (item.id == ID_FILE_MRU_FILE1) {
                    columns.back().append(m_recentPlaceholder);
                    for (QAction* recent : m_recentActions)
                        columns.back().append(recent);
                } else {
                    columns.back().append(CommandAction(item.id));
                }
                break;
            }
        }
        if (hasColumnBreak) {
            auto* action = new MenuColumnsAction(menu, columns, this);
            m_actionColumns = action->Columns();
        } else {
            menu->addActions(columns.front());
        }
    }
}

void CMainFrame::CreateAccelerators()
{
    for (const AcceleratorDef& def : MainAccelerators()) {
        const QKeySequence keys(QString::fromLatin1(def.keys), QKeySequence::PortableText);
        auto* accelerator = new QAction(this);
        accelerator->setShortcut(keys);
        accelerator->setShortcutContext(Qt::WindowShortcut);
        connect(accelerator, &QAction::triggered, this, [this, id = def.id] { ExecuteCommand(id); });
        addAction(accelerator);
        m_acceleratorKeys.insert(keys);
    }
    // Text boxes claim Ctrl+C, Ctrl+Z and the like for themselves; the
    // accelerators of this window come first (eventFilter).
    qApp->installEventFilter(this);
    m_outsideConnections << connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget*) {
        WatchFocusWidget(CommandFocusWidget());
        ScheduleCommandStateUpdate();
    });
    m_outsideConnections << connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                                    &CMainFrame::ScheduleCommandStateUpdate);
}

// F10 alone, in this window while no menu is open.
bool CMainFrame::IsMenuBarKey(const QKeyEvent* event) const
{
    const QWidget* focus = QApplication::focusWidget();
    return event->key() == Qt::Key_F10 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && focus
           && focus->window() == this && !QApplication::activePopupWidget();
}

bool CMainFrame::IsOurAccelerator(const QKeyEvent* event) const
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return m_acceleratorKeys.contains(QKeySequence(QKeyCombination(modifiers, Qt::Key(event->key()))));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsMenuBarKey(static_cast<QKeyEvent*>(event))) {
        ToggleMenuBarKeyboardMode(this);
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const QWidget* focus = QApplication::focusWidget();
        auto* key = static_cast<QKeyEvent*>(event);
        if (focus && focus->window() == this && IsOurAccelerator(key)) {
            // Left unaccepted, the key goes to the shortcut map and our accelerator.
            key->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetRecentFileEntries(const QStringList& entries)
{
    for (int i = 0; i < static_cast<int>(m_recentActions.size()); ++i) {
        const bool used = i < entries.size();
        m_recentActions[i]->setText(used ? entries[i] : QString());
        m_recentActions[i]->setVisible(used);
    }
    m_recentPlaceholder->setVisible(entries.isEmpty());
}

void CMainFrame::RouteCommand(int id)
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_APP_ABOUT:
        emit ApplicationCommand(id);
        break;
    case ID_FILE_SAVE:
        if (m_document)
            m_document->FileSave();
        break;
    case ID_FILE_SAVE_AS:
        if (m_document)
            m_document->FileSaveAs();
        break;
    case ID_APP_EXIT:
        close();
        break;
    case ID_TOGGLE_ACTION_BAR:
        OnToggleActionBar();
        break;
    case ID_VIEW_TOOLBAR:
        ToggleBar(m_wndToolBar);
        break;
    case ID_VIEW_STATUS_BAR:
        ToggleBar(m_wndStatusBar);
        break;
    case ID_DELETE_PERIOD:
        OnDeletePeriod();
        break;
    case ID_ANALYSE:
        OnAnalyse();
        break;
    default:
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4) {
            emit RecentFileChosen(id - ID_FILE_MRU_FILE1);
        } else if (m_view) {
            switch (id) {
            case ID_GO:
                m_view->OnGo();
                break;
            case ID_EDIT_UNDO:
                m_view->OnEditUndo();
                break;
            case ID_EDIT_CUT:
                m_view->OnEditCut();
                break;
            case ID_EDIT_COPY:
                m_view->OnEditCopy();
                break;
            case ID_EDIT_PASTE:
                m_view->OnEditPaste();
                break;
            case ID_INSERT_SHARE:
                m_view->OnInsertShare();
                break;
            case ID_DELETE_SHARE:
                m_view->OnDeleteShare();
                break;
            default:
                break;
            }
        }
        break;
    }
    ScheduleCommandStateUpdate();
}

void CMainFrame::ExecuteCommand(int id)
{
    UpdateCommandStates();
    QAction* action = CommandAction(id);
    if (action && action->isEnabled())
        action->trigger();
}

void CMainFrame::UpdateCommandStates()
{
    if (m_document) {
        CCmdUI save(CommandAction(ID_FILE_SAVE));
        m_document->OnUpdateFileSave(&save);
    }
    if (m_view) {
        CCmdUI undo(CommandAction(ID_EDIT_UNDO));
        m_view->OnUpdateEditUndo(&undo);
        CCmdUI cut(CommandAction(ID_EDIT_CUT));
        m_view->OnUpdateEditCopyCut(&cut);
        CCmdUI copy(CommandAction(ID_EDIT_COPY));
        m_view->OnUpdateEditCopyCut(&copy);
        CCmdUI paste(CommandAction(ID_EDIT_PASTE));
        m_view->OnUpdateEditPaste(&paste);
    }
    CCmdUI(CommandAction(ID_VIEW_TOOLBAR)).SetCheck(m_wndToolBar && m_wndToolBar->isVisibleTo(this));
    CCmdUI actionBar(CommandAction(ID_TOGGLE_ACTION_BAR));
    OnUpdateToggleActionBar(&actionBar);
    CCmdUI(CommandAction(ID_VIEW_STATUS_BAR)).SetCheck(m_wndStatusBar && m_wndStatusBar->isVisibleTo(this));
}

// Toolbar buttons follow their commands' states without a timer: the states
// change only with the focus, the focused box's text or selection, the
// clipboard and the document's modified flag, and each of those is watched.
void CMainFrame::ScheduleCommandStateUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_updatePending = false;
        UpdateCommandStates();
    });
}

void CMainFrame::WatchFocusWidget(QWidget* widget)
{
    disconnect(m_focusTextConnection);
    disconnect(m_focusSelectionConnection);
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (!edit || edit->window() != this)
        return;
    m_focusTextConnection = connect(edit, &QLineEdit::textChanged, this, &CMainFrame::ScheduleCommandStateUpdate);
    m_focusSelectionConnection =
        connect(edit, &QLineEdit::selectionChanged, this, &CMainFrame::ScheduleCommandStateUpdate);
}
