// The Single analysis window, driven through its controls as a user would.
#include "gui/analysis/AnalysisDialog.h"
#include "gui/framework/MessageBox.h"
#include "gui/framework/UpDownControl.h"
#include "gui/resources/AppIcon.h"
#include "support/GridTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

struct Shown {
    korvel::MessageBoxRequest request;
    int asset = -1;       // the asset the boxes showed while the box was up
    QStringList returns;  // the return boxes' texts at that moment
};

}  // namespace

class AnalysisDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsHiddenWithTheTemplatesControlsAndData();
    void labelsAndTooltipsBelongToTheirControls();
    void calculatesTheMixAndDisablesItself();
    void changingFOrThePeriodCountEmptiesTheResults();
    void invalidSecondReturnBringsSecondIntoViewFirst();
    void returnsBeyondThePeriodCountAreIgnoredAndKeepTheirText();
    void switchingAssetsKeepsEachAssetsReturns();
    void clearEmptiesTheShownAssetAndNewEverything();
    void enterAndEscLeaveTheWindowOpen();
    void okAndTheCloseBoxHideAndTheNextShowingKeepsEverything();
    void standsAloneAndStaysWhereTheUserPutIt();

private:
    QLineEdit* Box(const char* name) const { return m_dialog->findChild<QLineEdit*>(QLatin1String(name)); }
    QLineEdit* Return(int k) const { return Box(QByteArray("return" + QByteArray::number(k)).constData()); }
    QPushButton* Button(const char* name) const { return m_dialog->findChild<QPushButton*>(QLatin1String(name)); }
    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
    QComboBox* Asset() const { return m_dialog->findChild<QComboBox*>(QStringLiteral("asset")); }
    void TypeReturns(const QStringList& texts);
    void PickAsset(int index);
    void StepPeriods(int delta) { Step(Box("periods"), delta); }
    void StepFirstPart(int delta) { Step(Box("firstPart"), delta); }
    void Step(QLineEdit* buddy, int delta);
    QStringList ShownReturns() const;
    QStringList Results() const;
    // Results that wait for "Calculate": none shown, the button enabled.
    bool Stale() const { return Button("calculate")->isEnabled() && Results() == QStringList(3, QString()); }
    void EnterExample(int firstPart);

    std::unique_ptr<CAnalysisDialog> m_dialog;
    std::vector<Shown> m_boxes;
    korvel::MessageBoxPresenter m_previousPresenter;
};

void AnalysisDialogTest::init()
{
    m_boxes.clear();
    m_previousPresenter = korvel::SetMessageBoxPresenter([this](const korvel::MessageBoxRequest& request) {
        m_boxes.push_back({request, Asset()->currentIndex(), ShownReturns()});
        return int(korvel::IDOK);
    });
    m_dialog = std::make_unique<CAnalysisDialog>();
    QVERIFY(m_dialog->Create());
}

void AnalysisDialogTest::cleanup()
{
    m_dialog.reset();
    korvel::SetMessageBoxPresenter(m_previousPresenter);
}

void AnalysisDialogTest::TypeReturns(const QStringList& texts)
{
    for (int k = 0; k < texts.size(); ++k) {
        QLineEdit* box = Return(k + 1);
        box->selectAll();
        if (texts[k].isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, texts[k]);
    }
}

// As the user picks an item from the drop-down list.
void AnalysisDialogTest::PickAsset(int index)
{
    Asset()->setCurrentIndex(index);
    emit Asset()->activated(index);
}

// The arrow keys in an up-down's buddy step it.
void AnalysisDialogTest::Step(QLineEdit* buddy, int delta)
{
    for (int i = 0; i < std::abs(delta); ++i)
        QTest::keyClick(buddy, delta > 0 ? Qt::Key_Up : Qt::Key_Down);
}

QStringList AnalysisDialogTest::ShownReturns() const
{
    QStringList texts;
    for (int k = 1; k <= 10; ++k)
        texts << Return(k)->text();
    return texts;
}

QStringList AnalysisDialogTest::Results() const
{
    return {Box("averageReturn")->text(), Box("standardDeviation")->text(), Box("correlation")->text()};
}

// First 1, 2, 3 and Second 3, 2, 1 over 3 periods.
void AnalysisDialogTest::EnterExample(int firstPart)
{
    TypeReturns({"1", "2", "3"});
    PickAsset(1);
    TypeReturns({"3", "2", "1"});
    StepPeriods(-7);
    StepFirstPart(firstPart - 50);
}

void AnalysisDialogTest::startsHiddenWithTheTemplatesControlsAndData()
{
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!m_dialog->isModal());
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Single analysis"));
    QVERIFY(!m_dialog->windowIcon().isNull());
    QCOMPARE(m_dialog->windowIcon().cacheKey(), korvel::AppIcon().cacheKey());
    QCOMPARE(Asset()->count(), 2);
    QCOMPARE(Asset()->itemText(0), QStringLiteral("First"));
    QCOMPARE(Asset()->itemText(1), QStringLiteral("Second"));
    QCOMPARE(Asset()->currentIndex(), 0);
    QCOMPARE(ShownReturns(), QStringList(10, QStringLiteral("0")));
    for (int k = 1; k <= 10; ++k)
        QVERIFY(Return(k)->isEnabled());
    QCOMPARE(Box("periods")->text(), QStringLiteral("10"));
    QCOMPARE(Box("firstPart")->text(), QStringLiteral("50"));
    QCOMPARE(Box("secondPart")->text(), QStringLiteral("50"));
    for (const char* readOnly :
         {"periods", "firstPart", "secondPart", "averageReturn", "standardDeviation", "correlation"})
        QVERIFY2(Box(readOnly)->isReadOnly(), readOnly);
    QVERIFY(Stale());
    QCOMPARE(Button("calculate")->text(), QStringLiteral("Ca&lculate"));
    QCOMPARE(Button("clear")->text(), QStringLiteral("Clea&r"));
    QCOMPARE(Button("new")->text(), QStringLiteral("Ne&w"));
    QCOMPARE(Button("ok")->text(), QStringLiteral("O&K"));

    // The up-downs stop at their ranges: periods 3 to 10, F 0 to 100.
    StepPeriods(+1);
    QCOMPARE(Box("periods")->text(), QStringLiteral("10"));
    StepPeriods(-20);
    QCOMPARE(Box("periods")->text(), QStringLiteral("3"));
    StepFirstPart(+60);
    QCOMPARE(Box("firstPart")->text(), QStringLiteral("100"));
    QCOMPARE(Box("secondPart")->text(), QStringLiteral("0"));
    StepFirstPart(-101);
    QCOMPARE(Box("firstPart")->text(), QStringLiteral("0"));
    QCOMPARE(Box("secondPart")->text(), QStringLiteral("100"));
}

void AnalysisDialogTest::labelsAndTooltipsBelongToTheirControls()
{
    QHash<QString, QWidget*> buddies;
    for (QLabel* label : m_dialog->findChildren<QLabel*>())
        buddies.insert(label->text(), label->buddy());
    QCOMPARE(buddies.value("A&sset"), Asset());
    QCOMPARE(buddies.value("&Periods"), Box("periods"));
    QCOMPARE(buddies.value("Ret&1"), Return(1));
    QCOMPARE(buddies.value("Ret&9"), Return(9));
    QCOMPARE(buddies.value("Ret1&0"), Return(10));
    for (const char* plain : {"F", "S", "Avg.Ret", "Std.Dev", "Correlation"})
        QVERIFY2(buddies.contains(plain), plain);

    const QList<QPair<QWidget*, QString>> tips{
        {Asset(), "Select asset"},          {Button("calculate"), "Calculate coeficents"},
        {Button("ok"), "Close the window"}, {Button("clear"), "Clear returns of the asset"},
        {Button("new"), "Resets all data"}, {Box("secondPart"), "Part invested in asset Second"},
        {Box("periods"), "Periods to use"}, {Box("firstPart"), "Part invested in asset First"},
    };
    for (const auto& [widget, tip] : tips)
        QCOMPARE(widget->toolTip(), tip);
    for (const char* untipped : {"return1", "return10", "averageReturn", "standardDeviation", "correlation"})
        QVERIFY2(Box(untipped)->toolTip().isEmpty(), untipped);
}

void AnalysisDialogTest::calculatesTheMixAndDisablesItself()
{
    EnterExample(50);
    Click("calculate");
    QVERIFY(m_boxes.empty());
    QCOMPARE(Results(), (QStringList{"2.0000", "0.0000", "-1.0000"}));
    QVERIFY(!Button("calculate")->isEnabled());

    // A disabled "Calculate" cannot be pressed again.
    Click("calculate");
    QCOMPARE(Results(), (QStringList{"2.0000", "0.0000", "-1.0000"}));

    StepFirstPart(+50);
    Click("calculate");
    QCOMPARE(Results(), (QStringList{"2.0000", "0.8165", "-1.0000"}));

    // All of First's returns equal: no correlation, the other figures still shown.
    PickAsset(0);
    TypeReturns({"2", " 2 ", "2.0"});
    Click("calculate");
    QCOMPARE(Results(), (QStringList{"2.0000", "0.0000", "n.a."}));
}

void AnalysisDialogTest::changingFOrThePeriodCountEmptiesTheResults()
{
    EnterExample(50);
    Click("calculate");
    QVERIFY(!Button("calculate")->isEnabled());

    StepFirstPart(+1);
    QVERIFY(Stale());
    StepFirstPart(-1);
    QVERIFY(Stale());

    Click("calculate");
    StepPeriods(+1);
    QVERIFY(Stale());

    Click("calculate");
    QTest::keyClicks(Return(2), "5");
    QVERIFY(Stale());
}

void AnalysisDialogTest::invalidSecondReturnBringsSecondIntoViewFirst()
{
    PickAsset(1);
    TypeReturns({"1", "", "0.5%"});
    PickAsset(0);
    TypeReturns({" 0.5 ", "1", "2"});
    StepPeriods(-7);
    Click("calculate");

    QCOMPARE(int(m_boxes.size()), 1);
    const Shown& shown = m_boxes.front();
    QCOMPARE(shown.request.text, QStringLiteral("Incorrect data for return 3"));
    QCOMPARE(shown.request.caption, QStringLiteral("Error"));
    QCOMPARE(shown.request.icon, korvel::MbIcon::Information);
    QCOMPARE(shown.request.buttons, korvel::MbButtons::Ok);
    QCOMPARE(shown.request.owner, m_dialog.get());
    QCOMPARE(shown.asset, 1);
    QCOMPARE(shown.returns.mid(0, 3), (QStringList{"1", "", "0.5%"}));

    QCOMPARE(Asset()->currentIndex(), 1);
    QVERIFY(Stale());

    // First's returns went to its store before the switch.
    PickAsset(0);
    QCOMPARE(ShownReturns().mid(0, 3), (QStringList{" 0.5 ", "1", "2"}));

    // "1,5" is no number either; an invalid return in the shown asset keeps the view.
    TypeReturns({"1,5"});
    Click("calculate");
    QCOMPARE(int(m_boxes.size()), 2);
    QCOMPARE(m_boxes.back().request.text, QStringLiteral("Incorrect data for return 1"));
    QCOMPARE(Asset()->currentIndex(), 0);
}

void AnalysisDialogTest::returnsBeyondThePeriodCountAreIgnoredAndKeepTheirText()
{
    TypeReturns({"1", "2", "3", "junk", "", "", "", "", "", "7"});
    PickAsset(1);
    TypeReturns({"3", "2", "1", "x", "", "", "", "", "", "y"});
    StepPeriods(-7);
    for (int k = 1; k <= 10; ++k)
        QCOMPARE(Return(k)->isEnabled(), k <= 3);
    QCOMPARE(Return(4)->text(), QStringLiteral("x"));
    QCOMPARE(Return(10)->text(), QStringLiteral("y"));

    Click("calculate");
    QVERIFY(m_boxes.empty());
    QCOMPARE(Results(), (QStringList{"2.0000", "0.0000", "-1.0000"}));
    QCOMPARE(Return(4)->text(), QStringLiteral("x"));

    // Clear reaches disabled boxes too.
    Click("clear");
    QCOMPARE(ShownReturns(), QStringList(10, QStringLiteral("0")));

    StepPeriods(+1);
    QVERIFY(Return(4)->isEnabled());
    QVERIFY(!Return(5)->isEnabled());
    PickAsset(0);
    Click("calculate");
    QCOMPARE(int(m_boxes.size()), 1);
    QCOMPARE(m_boxes.back().request.text, QStringLiteral("Incorrect data for return 4"));
}

void AnalysisDialogTest::switchingAssetsKeepsEachAssetsReturns()
{
    TypeReturns({"1", "2", "3"});
    PickAsset(1);
    QCOMPARE(ShownReturns(), QStringList(10, QStringLiteral("0")));
    TypeReturns({"4", "5"});
    PickAsset(0);
    QCOMPARE(ShownReturns().mid(0, 4), (QStringList{"1", "2", "3", "0"}));
    PickAsset(1);
    QCOMPARE(ShownReturns().mid(0, 3), (QStringList{"4", "5", "0"}));

    // Picking the asset already shown changes nothing, not even the results.
    StepPeriods(-7);
    Click("calculate");
    const QStringList results = Results();
    PickAsset(1);
    QVERIFY(!Button("calculate")->isEnabled());
    QCOMPARE(Results(), results);
    // Showing the other asset does count as a change.
    PickAsset(0);
    QVERIFY(Stale());
}

void AnalysisDialogTest::clearEmptiesTheShownAssetAndNewEverything()
{
    TypeReturns({"1", "2", "3"});
    PickAsset(1);
    TypeReturns({"4", "5", "6"});
    StepPeriods(-5);
    StepFirstPart(+10);

    Click("clear");
    QCOMPARE(ShownReturns(), QStringList(10, QStringLiteral("0")));
    PickAsset(0);
    QCOMPARE(ShownReturns().mid(0, 3), (QStringList{"1", "2", "3"}));
    PickAsset(1);
    QCOMPARE(ShownReturns(), QStringList(10, QStringLiteral("0")));

    TypeReturns({"7"});
    Click("calculate");
    Click("new");
    QCOMPARE(ShownReturns(), QStringList(10, QStringLiteral("0")));
    QVERIFY(Stale());
    QCOMPARE(Asset()->currentIndex(), 1);
    QCOMPARE(Box("periods")->text(), QStringLiteral("5"));
    QCOMPARE(Box("firstPart")->text(), QStringLiteral("60"));
    PickAsset(0);
    QCOMPARE(ShownReturns(), QStringList(10, QStringLiteral("0")));
}

void AnalysisDialogTest::enterAndEscLeaveTheWindowOpen()
{
    EnterExample(50);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));

    Return(1)->setFocus();
    QTest::keyClick(Return(1), Qt::Key_Return);
    QTest::keyClick(Return(1), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(Return(1), Qt::Key_Escape);
    QTest::keyClick(Asset(), Qt::Key_Escape);
    QVERIFY(m_dialog->isVisible());
    // Enter in a box presses no button.
    QVERIFY(Stale());

    // On a button, Enter presses that button, as Space does.
    Button("calculate")->setFocus();
    QTest::keyClick(Button("calculate"), Qt::Key_Return);
    QCOMPARE(Results(), (QStringList{"2.0000", "0.0000", "-1.0000"}));
    QVERIFY(m_dialog->isVisible());
    // A second Enter lands on no other button.
    QVERIFY(m_dialog->focusWidget() != Button("calculate"));
    QTest::keyClick(m_dialog->focusWidget(), Qt::Key_Return);
    QCOMPARE(Results(), (QStringList{"2.0000", "0.0000", "-1.0000"}));
    QCOMPARE(ShownReturns().mid(0, 3), (QStringList{"3", "2", "1"}));

    Button("new")->setFocus();
    QTest::keyClick(Button("new"), Qt::Key_Escape);
    QVERIFY(m_dialog->isVisible());
}

void AnalysisDialogTest::okAndTheCloseBoxHideAndTheNextShowingKeepsEverything()
{
    EnterExample(80);
    Click("calculate");
    const QStringList results = Results();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));

    Click("ok");
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), 1);

    m_dialog->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QCOMPARE(Results(), results);
    QVERIFY(!Button("calculate")->isEnabled());
    QCOMPARE(Asset()->currentIndex(), 1);
    QCOMPARE(ShownReturns().mid(0, 3), (QStringList{"3", "2", "1"}));
    QCOMPARE(Box("periods")->text(), QStringLiteral("3"));
    QCOMPARE(Box("firstPart")->text(), QStringLiteral("80"));
    QCOMPARE(Box("secondPart")->text(), QStringLiteral("20"));

    QVERIFY(m_dialog->close());
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), 2);
    m_dialog->showNormal();
    QCOMPARE(Results(), results);
    PickAsset(0);
    QCOMPARE(ShownReturns().mid(0, 3), (QStringList{"1", "2", "3"}));
}

void AnalysisDialogTest::standsAloneAndStaysWhereTheUserPutIt()
{
    QMainWindow frame;
    frame.resize(600, 400);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    m_dialog->showNormal();
    m_dialog->raise();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QVERIFY(m_dialog->windowHandle());
    // Owned by nobody, so that the main window can lie in front of it.
    QCOMPARE(m_dialog->windowHandle()->transientParent(), nullptr);
    QCOMPARE(m_dialog->windowType(), Qt::Window);
    // The main window stays usable: the analysis window holds no modal grab.
    QVERIFY(!m_dialog->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    m_dialog->move(123, 145);
    const QPoint placed = m_dialog->pos();
    Click("ok");
    m_dialog->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QCOMPARE(m_dialog->pos(), placed);
}

KORVEL_TEST_MAIN(AnalysisDialogTest)
#include "analysis_dialog_test.moc"
