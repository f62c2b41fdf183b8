#include "gui/analysis/AnalysisTemplate.h"

#include "gui/framework/DialogUnits.h"
#include "gui/framework/UpDownControl.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace korvel {
namespace {

struct Rect {
    int x, y, width, height;
};

constexpr int kEditHeight = 14;
constexpr int kLabelHeight = 8;

// Label positions are where their text starts; a label is as wide as the gap
// to its control, or as its text needs.
QLabel* AddLabel(QWidget* dialog, const DialogUnits& du, const QString& text, int x, int y, int width,
                 QWidget* buddy = nullptr)
{
    auto* label = new QLabel(text, dialog);
    du.Place(label, x, y, width, kLabelHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QLineEdit* AddEdit(QWidget* dialog, const DialogUnits& du, const char* name, Rect r)
{
    auto* edit = new QLineEdit(dialog);
    edit->setObjectName(QLatin1String(name));
    du.Place(edit, r.x, r.y, r.width, r.height);
    return edit;
}

// Read-only boxes look like the dialog's face, as on the classic desktop, so
// that nobody tries to type into them.
QLineEdit* AddReadOnlyEdit(QWidget* dialog, const DialogUnits& du, const char* name, Rect r)
{
    QLineEdit* edit = AddEdit(dialog, du, name, r);
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

QPushButton* AddButton(QWidget* dialog, const DialogUnits& du, const char* name, const QString& text, Rect r)
{
    auto* button = new QPushButton(text, dialog);
    button->setObjectName(QLatin1String(name));
    du.Place(button, r.x, r.y, r.width, r.height);
    // No button is ever the dialog's default: Enter in a box must not press one.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

UpDownControl* AddUpDown(QWidget* dialog, const DialogUnits& du, const char* name, QLineEdit* buddy, Rect r)
{
    auto* spin = new UpDownControl(dialog);
    spin->setObjectName(QLatin1String(name));
    du.Place(spin, r.x, r.y, r.width, r.height);
    spin->SetBuddy(buddy);
    spin->SetThousandsSeparator(false);
    spin->SetArrowKeys(true);
    return spin;
}

void BuildAssetList(QWidget* dialog, const DialogUnits& du, AnalysisControls& c)
{
    c.asset = new QComboBox(dialog);
    c.asset->setObjectName(QStringLiteral("asset"));
    // The template's list is sorted; its two items already are.
    c.asset->addItems({QStringLiteral("First"), QStringLiteral("Second")});
    du.Place(c.asset, 43, 21, 48, kEditHeight);
    c.asset->setToolTip(QStringLiteral("Select asset"));
    AddLabel(dialog, du, QStringLiteral("A&sset"), 18, 26, 24, c.asset);
}

void BuildReturnBoxes(QWidget* dialog, const DialogUnits& du, AnalysisControls& c)
{
    static constexpr int kLeftY[] = {47, 66, 84, 103, 121};
    static constexpr int kRightY[] = {46, 66, 84, 102, 121};
    static const char* const kLabels[] = {"Ret&1", "Ret&2", "Ret&3", "Ret&4", "Ret&5",
                                          "Ret&6", "Ret&7", "Ret&8", "Ret&9", "Ret1&0"};
    for (int k = 0; k < kAnalysisReturnBoxes; ++k) {
        const bool left = k < 5;
        const int x = left ? 43 : 115;
        const int y = left ? kLeftY[k] : kRightY[k - 5];
        const int height = k == 9 ? 15 : kEditHeight;
        const QByteArray name = "return" + QByteArray::number(k + 1);
        c.returns[k] = AddEdit(dialog, du, name.constData(), {x, y, 40, height});
        AddLabel(dialog, du, QLatin1String(kLabels[k]), x - 25, y + 3, 24, c.returns[k]);
    }
}

void BuildParts(QWidget* dialog, const DialogUnits& du, AnalysisControls& c)
{
    c.periods = AddReadOnlyEdit(dialog, du, "periods", {145, 19, 40, kEditHeight});
    c.periods->setToolTip(QStringLiteral("Periods to use"));
    AddLabel(dialog, du, QStringLiteral("&Periods"), 116, 25, 28, c.periods);
    c.periodsSpin = AddUpDown(dialog, du, "periodsSpin", c.periods, {186, 19, 11, kEditHeight});

    // The up-down sits on the buddy's right edge, so the buddy ends where it starts.
    c.firstPart = AddReadOnlyEdit(dialog, du, "firstPart", {214, 19, 23, kEditHeight});
    c.firstPart->setToolTip(QStringLiteral("Part invested in asset First"));
    AddLabel(dialog, du, QStringLiteral("F"), 205, 24, 8);
    c.firstPartSpin = AddUpDown(dialog, du, "firstPartSpin", c.firstPart, {237, 19, 11, kEditHeight});

    c.secondPart = AddReadOnlyEdit(dialog, du, "secondPart", {259, 19, 18, kEditHeight});
    c.secondPart->setToolTip(QStringLiteral("Part invested in asset Second"));
    AddLabel(dialog, du, QStringLiteral("S"), 252, 24, 6);
}

void BuildResults(QWidget* dialog, const DialogUnits& du, AnalysisControls& c)
{
    auto* group = new QGroupBox(QStringLiteral("Result"), dialog);
    du.Place(group, 171, 44, 106, 93);
    group->lower();
    c.averageReturn = AddReadOnlyEdit(dialog, du, "averageReturn", {221, 59, 40, kEditHeight});
    AddLabel(dialog, du, QStringLiteral("Avg.Ret"), 181, 63, 38);
    c.standardDeviation = AddReadOnlyEdit(dialog, du, "standardDeviation", {221, 78, 40, kEditHeight});
    AddLabel(dialog, du, QStringLiteral("Std.Dev"), 181, 84, 38);
    c.correlation = AddReadOnlyEdit(dialog, du, "correlation", {221, 98, 40, kEditHeight});
    AddLabel(dialog, du, QStringLiteral("Correlation"), 181, 104, 40);
}

void BuildButtons(QWidget* dialog, const DialogUnits& du, AnalysisControls& c)
{
    c.calculate = AddButton(dialog, du, "calculate", QStringLiteral("Ca&lculate"), {213, 116, 50, 14});
    c.calculate->setToolTip(QStringLiteral("Calculate coeficents"));
    c.calculate->setEnabled(false);
    c.clear = AddButton(dialog, du, "clear", QStringLiteral("Clea&r"), {44, 149, 50, 14});
    c.clear->setToolTip(QStringLiteral("Clear returns of the asset"));
    c.newData = AddButton(dialog, du, "new", QStringLiteral("Ne&w"), {115, 149, 50, 14});
    c.newData->setToolTip(QStringLiteral("Resets all data"));
    c.ok = AddButton(dialog, du, "ok", QStringLiteral("O&K"), {213, 149, 50, 14});
    c.ok->setToolTip(QStringLiteral("Close the window"));
}

// Tab moves through the controls as the eye reads them: the asset and its
// returns, the parts, the results, then the buttons.
void SetTabOrder(const AnalysisControls& c)
{
    QList<QWidget*> chain{c.asset};
    for (QLineEdit* box : c.returns)
        chain.append(box);
    chain.append({c.periods, c.firstPart, c.secondPart, c.averageReturn, c.standardDeviation, c.correlation,
                  c.calculate, c.clear, c.newData, c.ok});
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace

AnalysisControls BuildAnalysisTemplate(QWidget* dialog)
{
    const DialogUnits du;
    dialog->setFont(DialogFont());
    dialog->setFixedSize(du.Size(306, 170));

    AnalysisControls c;
    BuildAssetList(dialog, du, c);
    BuildReturnBoxes(dialog, du, c);
    BuildParts(dialog, du, c);
    BuildResults(dialog, du, c);
    BuildButtons(dialog, du, c);
    SetTabOrder(c);
    return c;
}

}  // namespace korvel
