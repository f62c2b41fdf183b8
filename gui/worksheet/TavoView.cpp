// The form of the view: its controls, the data exchange and the grid's size.
#include "gui/worksheet/TavoView.h"

#include "gui/framework/DialogUnits.h"
#include "gui/framework/MenuBarFocus.h"
#include "gui/framework/MessageBox.h"
#include "gui/framework/UpDownControl.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/FieldText.h"
#include "gui/worksheet/TavoDoc.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>

#include <algorithm>

namespace {

// The grid never gets smaller than this; beyond it the grid keeps these
// margins to the view's client area.
constexpr int kGridMinWidth = 522, kGridMinHeight = 160;
constexpr int kGridMarginX = 53, kGridMarginY = 96;

QLabel* AddLabel(QWidget* form, const korvel::DialogUnits& du, const QString& caption, QWidget* buddy, int x, int y,
                 int width, int height)
{
    auto* label = new QLabel(caption, form);
    du.Place(label, x, y, width, height);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* AddEdit(QWidget* form, const korvel::DialogUnits& du, int x, int y, int width, int height)
{
    auto* edit = new QLineEdit(form);
    du.Place(edit, x, y, width, height);
    return edit;
}

// A read-only box of a form is drawn on the window's background, so that it
// does not look like one the user could type into.
void ShowAsReadOnly(QLineEdit* edit)
{
    QPalette palette = edit->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
    edit->setPalette(palette);
}

// The spin sits on its buddy's right edge and the buddy gives up that width.
korvel::UpDownControl* AddSpin(QWidget* form, const korvel::DialogUnits& du, QLineEdit* buddy, int widthUnits,
                               int lower, int upper)
{
    auto* spin = new korvel::UpDownControl(form);
    const int width = du.X(widthUnits);
    const QRect box = buddy->geometry();
    buddy->setGeometry(box.x(), box.y(), box.width() - width, box.height());
    spin->setGeometry(box.right() + 1 - width, box.y(), width, box.height());
    spin->SetBuddy(buddy);
    spin->SetArrowKeys(true);
    spin->SetThousandsSeparator(true);
    spin->SetRange(lower, upper);
    buddy->setReadOnly(true);
    ShowAsReadOnly(buddy);
    return spin;
}

}  // namespace

CTavoView::CTavoView(CTavoDoc* document, QWidget* parent) : QScrollArea(parent), m_document(document)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    BuildForm();
    setWidget(m_form);
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_cellEdit);
    viewport()->installEventFilter(this);
    m_minReturnEdit->installEventFilter(this);
    ConnectControls();
    // Min Return is checked when the user leaves it, and working the menu bar
    // does not leave it.
    korvel::KeepFocusWhileInMenuBar();
    if (m_document)
        m_document->SetView(this);
}

CTavoView::~CTavoView()
{
    // The form's children outlive this part of the object; nothing they do
    // while they go may reach the handlers.
    viewport()->removeEventFilter(this);
    m_minReturnEdit->removeEventFilter(this);
    for (QObject* control :
         {static_cast<QObject*>(m_assetsEdit), static_cast<QObject*>(m_periodsEdit),
          static_cast<QObject*>(m_minReturnEdit), static_cast<QObject*>(m_cellEdit), static_cast<QObject*>(&m_grid)})
        disconnect(control, nullptr, this, nullptr);
    if (m_document && m_document->GetFirstView() == this)
        m_document->SetView(nullptr);
}

// Controls of the form template, in its tab order; the grid comes in Create.
void CTavoView::BuildForm()
{
    m_form = new QWidget;
    m_form->setFont(korvel::DialogFont());
    const korvel::DialogUnits du;

    m_cellEdit = new CCellEdit(m_form);
    du.Place(m_cellEdit, 40, 38, 86, 14);
    AddLabel(m_form, du, tr("Cell"), m_cellEdit, 20, 44, 12, 8);

    m_assetsEdit = AddEdit(m_form, du, 174, 14, 40, 14);
    AddLabel(m_form, du, tr("A&ssets"), m_assetsEdit, 144, 20, 22, 8);
    m_assetsSpin = AddSpin(m_form, du, m_assetsEdit, 11, kMinAssets, kMaxAssets);

    m_periodsEdit = AddEdit(m_form, du, 174, 34, 40, 14);
    AddLabel(m_form, du, tr("&Periods"), m_periodsEdit, 144, 40, 24, 8);
    m_periodsSpin = AddSpin(m_form, du, m_periodsEdit, 11, kMinPeriods, kMaxPeriods);

    m_minReturnEdit = AddEdit(m_form, du, 64, 15, 62, 14);
    AddLabel(m_form, du, tr("Min &Return"), m_minReturnEdit, 20, 20, 36, 8);

    m_gridPlace = du.Rect(20, 54, 345, 105);
    // Below this size the grid stops shrinking and the form scrolls instead.
    m_form->setMinimumSize(std::max(m_gridPlace.x() + kGridMinWidth, kGridMinWidth + kGridMarginX),
                           std::max(m_gridPlace.y() + kGridMinHeight, kGridMinHeight + kGridMarginY));
}

void CTavoView::ConnectControls()
{
    connect(m_assetsEdit, &QLineEdit::textChanged, this, [this] { OnChangeAssets(); });
    connect(m_periodsEdit, &QLineEdit::textChanged, this, [this] { OnChangePeriods(); });
    connect(m_minReturnEdit, &QLineEdit::textChanged, this, [this] { OnChangeMinReturn(); });
    connect(m_cellEdit, &QLineEdit::textChanged, this, [this] { OnChangeCellEdit(); });
}

bool CTavoView::Create()
{
    if (!m_grid.Create(m_form, m_gridPlace))
        return false;
    m_cellEdit->SetGrid(&m_grid);
    connect(&m_grid, &CMSFlexGrid::Click, this, [this] { OnClickGrid(); });
    connect(&m_grid, &CMSFlexGrid::EnterCell, this, [this] { LoadCellEdit(); });
    connect(&m_grid, &CMSFlexGrid::LeaveCell, this, [this] { OnLeaveCellGrid(); });
    connect(&m_grid, &CMSFlexGrid::RowColChange, this, [this] { OnRowColChangeGrid(); });
    SetTabOrder();
    return true;
}

void CTavoView::SetTabOrder()
{
    QWidget* order[] = {m_cellEdit, m_grid.Widget(), m_assetsEdit, m_periodsEdit, m_minReturnEdit};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

bool CTavoView::UpdateData(bool saveAndValidate)
{
    return DoDataExchange(saveAndValidate);
}

bool CTavoView::DoDataExchange(bool saveAndValidate)
{
    // The controls (cell box, spins, grid) are bound by the first exchange;
    // the change handlers leave the grid alone until then.
    m_controlsBound = true;
    if (!saveAndValidate) {
        korvel::SetTextKeepingWhole(m_minReturnEdit, m_minReturnText, kMinReturnLimit);
        return true;
    }
    m_minReturnText = m_minReturnEdit->text();
    if (m_minReturnText.size() <= kMinReturnLimit)
        return true;
    // The box takes the focus from the field, and the kill-focus handler would
    // run this exchange again under it: one message is enough.
    const bool inKillFocus = m_inKillFocus;
    m_inKillFocus = true;
    korvel::MessageBox(this, tr("Min Return: enter no more than %1 characters.").arg(kMinReturnLimit), {},
                       korvel::MbButtons::Ok, korvel::MbIcon::Warning);
    m_inKillFocus = inKillFocus;
    m_minReturnEdit->setFocus(Qt::OtherFocusReason);
    m_minReturnEdit->selectAll();
    return false;
}

std::string CTavoView::MinReturnBytes() const
{
    // A loaded text too long for the field comes back from it cut short; it
    // is still the loaded text until the user edits it.
    if (m_minReturnText == m_minReturnLoadedText || m_minReturnText == korvel::ShownText(m_minReturnLoadedText))
        return m_minReturnLoadedBytes;
    return m_minReturnText.toStdString();
}

void CTavoView::SetMinReturnBytes(const std::string& bytes)
{
    m_minReturnLoadedBytes = bytes;
    m_minReturnLoadedText = korvel::DisplayTextFromBytes(bytes);
    m_minReturnText = m_minReturnLoadedText;
}

void CTavoView::OnInitialUpdate()
{
    UpdateData(false);
    // What the frame's layout pass would do: size the grid to the view now.
    updateGeometry();
    OnSize(viewport()->width(), viewport()->height());
    ResetWorksheet();
    if (m_document)
        m_document->SetModifiedFlag(false);
    m_cellEdit->SetTextLimit(kCellEditLimit);
    m_cellEdit->SetModify(false);
}

void CTavoView::SetMinReturnText(const QString& text)
{
    m_minReturnEdit->setText(text);
}

void CTavoView::OnChangeMinReturn()
{
    MarkDocumentModified();
}

void CTavoView::OnKillFocusMinReturn()
{
    // The validation message takes the focus itself; that loss is not the user's.
    if (m_inKillFocus)
        return;
    m_inKillFocus = true;
    UpdateData(true);
    m_inKillFocus = false;
}

void CTavoView::OnSize(int cx, int cy)
{
    if (!GridBound())
        return;
    const int width = cx > kGridMinWidth + kGridMarginX ? cx - kGridMarginX : kGridMinWidth;
    const int height = cy > kGridMinHeight + kGridMarginY ? cy - kGridMarginY : kGridMinHeight;
    QWidget* grid = m_grid.Widget();
    grid->setGeometry(QRect(m_gridPlace.topLeft(), QSize(width, height)));
    grid->show();
}

bool CTavoView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport() && event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        OnSize(size.width(), size.height());
    } else if (watched == m_minReturnEdit && event->type() == QEvent::FocusOut) {
        OnMinReturnFocusOut(static_cast<QFocusEvent*>(event)->reason());
    }
    return QScrollArea::eventFilter(watched, event);
}

void CTavoView::OnMinReturnFocusOut(Qt::FocusReason reason)
{
    // A menu, opened with the mouse or the keys, borrows the focus without the
    // user leaving the field, and a window that is being hidden or closed
    // takes it from every control.
    if (reason == Qt::PopupFocusReason || window()->isHidden())
        return;
    OnKillFocusMinReturn();
}

// A text box keeps its keys: those it does not use (Up, Down, the page keys)
// must not scroll the form, which scrolls by its bars and to show the focus.
void CTavoView::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
}

void CTavoView::MarkDocumentModified()
{
    if (m_document)
        m_document->SetModifiedFlag(true);
}
