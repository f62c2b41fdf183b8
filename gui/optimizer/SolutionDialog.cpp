#include "gui/optimizer/SolutionDialog.h"

#include "core/optimizer/SolutionText.h"
#include "gui/framework/DialogUnits.h"
#include "gui/optimizer/PieChartPainter.h"
#include "gui/optimizer/SolutionValues.h"
#include "gui/resources/AppIcon.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

namespace {

using korvel::DialogUnits;
namespace chart = korvel::chart;

// The chart is placed in device pixels, whatever the dialog font.
constexpr int kChartOffsetX = 282;
constexpr int kChartOffsetY = 71;
// The share list ends this far left of the chart, as the template has it.
constexpr int kGridChartGap = 10;

constexpr int kMaxListedShares = 13;

CSolutionDialog::ModalRunHook& RunHook()
{
    static CSolutionDialog::ModalRunHook hook;
    return hook;
}

QLabel* MakeLabel(QWidget* parent, const DialogUnits& units, const char* text, QRect rect)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    units.Place(label, rect.x(), rect.y(), rect.width(), rect.height());
    return label;
}

QLineEdit* MakeReadOnlyBox(QWidget* parent, const DialogUnits& units, QRect rect)
{
    auto* box = new QLineEdit(parent);
    units.Place(box, rect.x(), rect.y(), rect.width(), rect.height());
    box->setReadOnly(true);
    // A read-only box looks like the dialog behind it, not like an input field.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
    return box;
}

}  // namespace

CSolutionDialog::CSolutionDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Single solution"));
    setFont(korvel::DialogFont());
    const DialogUnits units;
    setFixedSize(units.Size(318, 177));
    CreateControls();
}

CSolutionDialog::~CSolutionDialog() = default;

CSolutionDialog::ModalRunHook CSolutionDialog::SetModalRunHook(ModalRunHook hook)
{
    ModalRunHook previous = std::move(RunHook());
    RunHook() = std::move(hook);
    return previous;
}

void CSolutionDialog::CreateControls()
{
    const DialogUnits units;

    m_continueButton = new QPushButton(QStringLiteral("&Continue"), this);
    units.Place(m_continueButton, 231, 7, 50, 14);
    m_continueButton->setDefault(true);
    m_continueButton->setToolTip(QStringLiteral("Continue with next single solution"));
    connect(m_continueButton, &QPushButton::clicked, this, [this] { done(IDOK); });

    m_enoughButton = new QPushButton(QStringLiteral("&Enough"), this);
    units.Place(m_enoughButton, 232, 24, 50, 14);
    m_enoughButton->setToolTip(QStringLiteral("Enough showing solutions"));
    connect(m_enoughButton, &QPushButton::clicked, this, [this] { done(IDCANCEL); });

    QRect gridRect = units.Rect(7, 43, 174, 109);
    // A wide dialog font would push the list under the chart, which is drawn
    // in device pixels; the list gives way.
    gridRect.setRight(std::min(gridRect.right(), kChartOffsetX - kGridChartGap - 1));
    if (m_grid.Create(this, gridRect)) {
        m_grid.SetCols(5);
        m_grid.SetFixedRows(1);
        m_grid.SetFixedCols(1);
    }

    MakeLabel(this, units, "Avg.Return", QRect(7, 13, 37, 8));
    m_averageReturnEdit = MakeReadOnlyBox(this, units, QRect(57, 7, 65, 14));
    MakeLabel(this, units, "Line Deviat.", QRect(7, 30, 39, 8));
    m_lineDeviationEdit = MakeReadOnlyBox(this, units, QRect(57, 24, 65, 14));

    m_theoryLabel =
        MakeLabel(this, units, "It is only an obsolete theory !  Listen to yourself !", QRect(7, 162, 168, 8));
    QPalette palette = m_theoryLabel->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_theoryLabel->setPalette(palette);

    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &CSolutionDialog::CopySolution);
    m_averageReturnEdit->installEventFilter(this);
    m_lineDeviationEdit->installEventFilter(this);
}

// A figure box claims Ctrl+C for its own selection; with nothing selected in
// it, the key copies the whole solution like anywhere else in the window.
bool CSolutionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box && !box->hasSelectedText() && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CSolutionDialog::CopySolution()
{
    if (!m_record)
        return;
    korvel::SolutionRecord shown = *m_record;
    shown.shareCount = std::clamp(shown.shareCount, 0, kMaxListedShares);
    QGuiApplication::clipboard()->setText(QString::fromStdString(korvel::SolutionAsTabText(shown)));
}

int CSolutionDialog::DoModal()
{
    // Without its share list the window cannot be made; the caller treats
    // this like "&Continue".
    if (!m_grid.IsCreated())
        return -1;
    OnInitDialog();
    if (const ModalRunHook& hook = RunHook()) {
        show();
        const int answer = hook(*this);
        hide();
        setResult(answer);
        return answer;
    }
    return exec();
}

void CSolutionDialog::accept()
{
    done(IDOK);
}

void CSolutionDialog::reject()
{
    done(IDCANCEL);
}

QRect CSolutionDialog::ChartBox() const
{
    return QRect(rect().left() + kChartOffsetX, rect().top() + kChartOffsetY, m_chartWidth, m_chartHeight);
}

bool CSolutionDialog::OnInitDialog()
{
    // Every run starts from the window as the template makes it.
    ShowValues();
    setWindowIcon(korvel::AppIcon());
    m_continueButton->setFocus();
    m_palette = chart::kPalette;
    ResetGrid();

    m_grid.SetColWidth(0, 500);
    m_grid.SetColWidth(3, 700);
    m_grid.SetTextMatrix(0, 1, "Name");
    m_grid.SetTextMatrix(0, 2, "Weight");
    m_grid.SetTextMatrix(0, 3, "* No");
    m_grid.SetColWidth(4, 320);

    const korvel::SolutionRecord* record = m_record;
    const int n = record ? std::clamp(record->shareCount, 0, kMaxListedShares) : 0;
    if (n == 0)
        return true;

    FillShareList();
    m_averageReturn = korvel::RoundUpToFourDecimals(record->averageReturn);
    m_lineDeviation = korvel::RoundUpToFourDecimals(record->lineDeviation);
    ShowValues();
    m_frameBrush = QBrush(Qt::black);
    m_shareCount = n;
    update();
    return true;
}

void CSolutionDialog::ResetGrid()
{
    m_grid.SetRows(2);
    for (int col = 0; col < m_grid.GetCols(); ++col)
        m_grid.SetTextMatrix(1, col, std::string());
    m_grid.SetCol(4);
    m_grid.SetRow(1);
    m_grid.SetCurrentCellColor(chart::ToBgr(chart::kPalette[chart::kOtherColour]));
}

void CSolutionDialog::FillShareList()
{
    const korvel::SolutionRecord& record = *m_record;
    const int n = std::clamp(record.shareCount, 0, kMaxListedShares);
    std::array<float, 14> weights{};
    for (int i = 0; i < n; ++i)
        weights[i] = record.shares[i].weight;
    const std::vector<int> colours = chart::AssignColours(weights.data(), n);

    m_grid.SetRows(n + 1);
    for (int i = 1; i <= n; ++i) {
        const korvel::SolutionShare& share = record.shares[i - 1];
        m_grid.SetTextMatrix(i, 0, korvel::FormatInteger(i));
        m_grid.SetTextMatrix(i, 1, share.name);
        m_weights[i - 1] = share.weight;
        m_grid.SetTextMatrix(i, 2, korvel::FormatWeight(share.weight));
        m_grid.SetTextMatrix(i, 3, korvel::FormatInteger(share.row));
        m_grid.SetCol(4);
        m_grid.SetRow(i);
        m_grid.SetCurrentCellColor(chart::ToBgr(m_palette[colours[i - 1]]));
    }
    // Each swatch made its row current and scrolled to it; a long list would
    // open at its last share and hide the first, often the largest.
    m_grid.SetRow(1);
}

void CSolutionDialog::ShowValues()
{
    m_averageReturnEdit->setText(QString::fromStdString(korvel::FormatBoundDouble(m_averageReturn)));
    m_lineDeviationEdit->setText(QString::fromStdString(korvel::FormatBoundDouble(m_lineDeviation)));
}

void CSolutionDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    m_chartLeft = rect().left() + kChartOffsetX;
    m_chartTop = rect().top() + kChartOffsetY;
    const chart::EdgeRect box{m_chartLeft, m_chartTop, m_chartLeft + m_chartWidth, m_chartTop + m_chartHeight};
    if (!event->region().intersects(ChartBox()))
        return;

    QPainter painter(this);
    chart::DrawChartBox(painter, box, m_frameBrush);
    if (m_shareCount < 1)
        return;
    const chart::ChartLayout layout =
        chart::LayoutChart(m_chartLeft, m_chartTop, m_chartWidth, m_chartHeight, m_pieYScale);
    chart::DrawPie(painter, layout, chart::PlanSlices(m_weights.data(), m_shareCount), m_palette, m_pieYScale);
}
