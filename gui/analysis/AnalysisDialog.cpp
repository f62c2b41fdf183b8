#include "gui/analysis/AnalysisDialog.h"

#include "core/analysis/Statistics.h"
#include "gui/framework/MessageBox.h"
#include "gui/framework/UpDownControl.h"
#include "gui/resources/AppIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include <variant>

namespace {

constexpr int kFirst = 0;
constexpr int kSecond = 1;
constexpr int kMinPeriods = 3;
constexpr int kMaxPeriods = korvel::kAnalysisReturnBoxes;
constexpr int kInitialFirstPart = 50;
const QString kZero = QStringLiteral("0");

// The window the analysis window belongs to: Tavo's main window.
QWidget* MainWindowOfApplication()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(widget) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

std::array<std::string, korvel::kAnalysisReturnBoxes>
ToStdStrings(const std::array<QString, korvel::kAnalysisReturnBoxes>& texts)
{
    std::array<std::string, korvel::kAnalysisReturnBoxes> converted;
    for (std::size_t k = 0; k < texts.size(); ++k)
        converted[k] = texts[k].toStdString();
    return converted;
}

}  // namespace

CAnalysisDialog::CAnalysisDialog(QWidget* parent) : QDialog(parent)
{
    // An ordinary top-level window with no owner: the user can bring the main
    // window in front of it, and Analyse brings it back. It never keeps the
    // program running once the main window has closed (the frame hides it).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    setWindowTitle(QStringLiteral("Single analysis"));
}

CAnalysisDialog::~CAnalysisDialog() = default;

bool CAnalysisDialog::Create()
{
    if (m_created)
        return true;
    m_controls = korvel::BuildAnalysisTemplate(this);
    ConnectHandlers();
    m_created = true;
    return OnInitDialog();
}

void CAnalysisDialog::ConnectHandlers()
{
    const korvel::AnalysisControls& c = m_controls;
    connect(c.calculate, &QPushButton::clicked, this, &CAnalysisDialog::OnCalculate);
    connect(c.ok, &QPushButton::clicked, this, &CAnalysisDialog::OnOK);
    connect(c.asset, &QComboBox::activated, this, &CAnalysisDialog::OnSelectAsset);
    for (QLineEdit* box : c.returns)
        connect(box, &QLineEdit::textChanged, this, &CAnalysisDialog::InvalidateResults);
    connect(c.newData, &QPushButton::clicked, this, &CAnalysisDialog::OnNew);
    connect(c.clear, &QPushButton::clicked, this, &CAnalysisDialog::OnClear);
    connect(c.firstPart, &QLineEdit::textChanged, this, &CAnalysisDialog::OnChangeFirstPart);
    connect(c.periods, &QLineEdit::textChanged, this, &CAnalysisDialog::OnChangePeriodCount);
}

bool CAnalysisDialog::OnInitDialog()
{
    ShowAssetSelection();
    setWindowIcon(korvel::AppIcon());
    for (int k = 0; k < korvel::kAnalysisReturnBoxes; ++k) {
        m_controls.returns[k]->setText(kZero);
        m_returnsFirst[k] = kZero;
        m_returnsSecond[k] = kZero;
    }
    // Setting the positions writes the buddies, whose change handlers show
    // the period count and the parts and leave "Calculate" enabled.
    m_controls.periodsSpin->SetRange(kMinPeriods, kMaxPeriods);
    m_controls.periodsSpin->SetPos(kMaxPeriods);
    m_controls.firstPartSpin->SetRange(0, 100);
    m_controls.firstPartSpin->SetPos(kInitialFirstPart);
    return true;
}

// The result boxes hold figures exactly while "Calculate" is disabled.
void CAnalysisDialog::InvalidateResults()
{
    if (m_controls.calculate->isEnabled())
        return;
    m_controls.calculate->setEnabled(true);
    for (QLineEdit* box : {m_controls.averageReturn, m_controls.standardDeviation, m_controls.correlation})
        box->clear();
}

void CAnalysisDialog::OnChangePeriodCount()
{
    const int n = m_controls.periodsSpin->GetPos();
    for (int k = 0; k < korvel::kAnalysisReturnBoxes; ++k)
        m_controls.returns[k]->setEnabled(k + 1 <= n);
    InvalidateResults();
}

void CAnalysisDialog::OnChangeFirstPart()
{
    m_controls.secondPart->setText(QString::number(100 - m_controls.firstPartSpin->GetPos()));
    InvalidateResults();
}

void CAnalysisDialog::OnSelectAsset()
{
    const int previous = m_asset;
    ReadAssetSelection();
    if (m_asset != previous)
        SwitchReturnBoxes(previous, m_asset);
}

void CAnalysisDialog::OnClear()
{
    // The stored texts follow at the next switch of assets or Calculate.
    for (QLineEdit* box : m_controls.returns)
        box->setText(kZero);
    InvalidateResults();
}

void CAnalysisDialog::OnNew()
{
    for (int k = 0; k < korvel::kAnalysisReturnBoxes; ++k) {
        m_returnsFirst[k] = kZero;
        m_returnsSecond[k] = kZero;
        m_controls.returns[k]->setText(kZero);
    }
    InvalidateResults();
}

void CAnalysisDialog::OnCalculate()
{
    ReadAssetSelection();
    const int n = m_controls.periodsSpin->GetPos();
    StoreReturnBoxes(m_asset);

    const korvel::AnalysisOutcome outcome = korvel::AnalyseTwoAssets(
        ToStdStrings(m_returnsFirst), ToStdStrings(m_returnsSecond), n, m_controls.firstPartSpin->GetPos());
    if (const auto* invalid = std::get_if<korvel::InvalidReturn>(&outcome))
        ReportInvalidReturn(*invalid);
    else
        ShowFigures(std::get<korvel::AnalysisFigures>(outcome));
}

// Results and "Calculate" stay as they were; only the offending asset comes into view.
void CAnalysisDialog::ReportInvalidReturn(const korvel::InvalidReturn& invalid)
{
    if (invalid.asset != m_asset) {
        const int previous = m_asset;
        m_asset = invalid.asset;
        ShowAssetSelection();
        SwitchReturnBoxes(previous, m_asset);
    }
    korvel::MessageBox(this, QStringLiteral("Incorrect data for return %1").arg(invalid.position),
                       QStringLiteral("Error"), korvel::MbButtons::Ok, korvel::MbIcon::Information);
}

void CAnalysisDialog::ShowFigures(const korvel::AnalysisFigures& figures)
{
    ShowResult(m_controls.correlation, figures.correlation);
    ShowResult(m_controls.averageReturn, figures.averageReturn);
    ShowResult(m_controls.standardDeviation, figures.standardDeviation);
    // Left alone, the focus of the disabled button would pass on to "Clear",
    // where a second Enter would wipe the returns just used.
    if (focusWidget() == m_controls.calculate)
        m_controls.returns[0]->setFocus();
    m_controls.calculate->setEnabled(false);
}

// Both end the dialog as the classic dialog does, with its OK and Cancel
// numbers; for this modeless window that only hides it.
void CAnalysisDialog::OnOK()
{
    ReadAssetSelection();
    done(korvel::IDOK);
}

void CAnalysisDialog::OnCancel()
{
    done(korvel::IDCANCEL);
}

// Enter and Esc reach the dialog as OK and Cancel requests, which this window
// ignores: only its "OK" button and its close box hide it.
void CAnalysisDialog::accept() {}

void CAnalysisDialog::reject() {}

void CAnalysisDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // No button is the default: Enter presses the button that has the
        // focus, as Space does, and does nothing in a box.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CAnalysisDialog::closeEvent(QCloseEvent* event)
{
    OnCancel();
    event->accept();
}

void CAnalysisDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (!m_placed) {
            adjustPosition(MainWindowOfApplication());
            m_placed = true;
        }
        // Every later showing finds the window where the user left it.
        setAttribute(Qt::WA_Moved);
    }
    QDialog::showEvent(event);
}

void CAnalysisDialog::ReadAssetSelection()
{
    m_asset = m_controls.asset->currentIndex() == kSecond ? kSecond : kFirst;
}

void CAnalysisDialog::ShowAssetSelection()
{
    m_controls.asset->setCurrentIndex(m_asset);
}

CAnalysisDialog::ReturnTexts& CAnalysisDialog::StoredReturns(int asset)
{
    return asset == kSecond ? m_returnsSecond : m_returnsFirst;
}

void CAnalysisDialog::StoreReturnBoxes(int asset)
{
    ReturnTexts& stored = StoredReturns(asset);
    for (int k = 0; k < korvel::kAnalysisReturnBoxes; ++k)
        stored[k] = m_controls.returns[k]->text();
}

void CAnalysisDialog::LoadReturnBoxes(int asset)
{
    const ReturnTexts& stored = StoredReturns(asset);
    for (int k = 0; k < korvel::kAnalysisReturnBoxes; ++k)
        m_controls.returns[k]->setText(stored[k]);
}

void CAnalysisDialog::SwitchReturnBoxes(int from, int to)
{
    StoreReturnBoxes(from);
    LoadReturnBoxes(to);
    InvalidateResults();
}

void CAnalysisDialog::ShowResult(QLineEdit* box, const std::string& text)
{
    box->setText(QString::fromStdString(text));
    // A figure too long for the box shows its leading digits.
    box->setCursorPosition(0);
}
