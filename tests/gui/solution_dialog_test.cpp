// The Single solution dialog on records set straight into the view: its list,
// its number boxes, its fixed texts and how its keys end the modal run.
#include "support/GridTestSupport.h"

#include "gui/framework/DialogUnits.h"
#include "gui/optimizer/GoDialogs.h"
#include "gui/optimizer/SolutionDialog.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace {

korvel::SolutionRecord MakeRecord(std::vector<std::pair<std::string, float>> shares, double averageReturn = 1.0,
                                  double lineDeviation = 0.0)
{
    korvel::SolutionRecord record;
    record.shareCount = static_cast<int32_t>(shares.size());
    for (size_t i = 0; i < shares.size(); ++i) {
        record.shares[i].name = shares[i].first;
        record.shares[i].weight = shares[i].second;
        record.shares[i].row = static_cast<int32_t>(10 + i);
    }
    record.averageReturn = averageReturn;
    record.lineDeviation = lineDeviation;
    return record;
}

// Runs the dialog once on record; inspect sees the live window.
int RunOnce(CSolutionDialog& dialog, const korvel::SolutionRecord& record,
            const std::function<void(CSolutionDialog&)>& inspect, int answer = CSolutionDialog::IDOK)
{
    dialog.m_record = &record;
    const auto previous = CSolutionDialog::SetModalRunHook([&](CSolutionDialog& live) {
        inspect(live);
        return answer;
    });
    const int result = dialog.DoModal();
    CSolutionDialog::SetModalRunHook(previous);
    return result;
}

// Sends input to the dialog once its modal loop runs, and returns exec's result.
int RunModalWith(CSolutionDialog& dialog, const std::function<void()>& input)
{
    const korvel::SolutionRecord record = MakeRecord({{"A", 1.0f}});
    dialog.m_record = &record;
    QTimer::singleShot(0, &dialog, input);
    return dialog.DoModal();
}

}  // namespace

class SolutionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void listsEverySharesNumberNameWeightAndRow();
    void aLongListOpensAtItsFirstShare();
    void swatchesFollowTheColourRule();
    void valuesAreRoundedUpToFourDecimals_data();
    void valuesAreRoundedUpToFourDecimals();
    void fixedTextsTooltipsAndLook();
    void everyRunStartsFromTheTemplate();
    void keysAndButtonsEndTheRun();
    void ctrlCCopiesTheShownSolution();
    void presenterShowsTheRecordItIsHanded();
};

void SolutionDialogTest::aLongListOpensAtItsFirstShare()
{
    std::vector<std::pair<std::string, float>> shares;
    for (int i = 1; i <= 12; ++i)
        shares.emplace_back("Share " + std::to_string(i), 1.0f / 12);
    CSolutionDialog dialog;
    RunOnce(dialog, MakeRecord(shares), [](CSolutionDialog& d) {
        QCoreApplication::processEvents();
        auto* list = qobject_cast<QAbstractScrollArea*>(d.m_grid.Widget());
        QVERIFY(list);
        QVERIFY(list->verticalScrollBar()->maximum() > 0);  // twelve rows do not fit
        QCOMPARE(list->verticalScrollBar()->value(), 0);
        QCOMPARE(d.m_grid.GetRow(), 1);
    });
}

void SolutionDialogTest::listsEverySharesNumberNameWeightAndRow()
{
    CSolutionDialog dialog;
    RunOnce(dialog, MakeRecord({{"Down", 0.5f}, {"Up", 0.123456f}, {"Tiny", 0.0f}}), [](CSolutionDialog& d) {
        CMSFlexGrid& grid = d.m_grid;
        QCOMPARE(grid.GetRows(), 4);
        QCOMPARE(grid.GetCols(), 5);
        QCOMPARE(grid.GetFixedRows(), 1);
        QCOMPARE(grid.GetFixedCols(), 1);
        QCOMPARE(grid.GetTextMatrix(0, 0), std::string());
        QCOMPARE(grid.GetTextMatrix(0, 1), std::string("Name"));
        QCOMPARE(grid.GetTextMatrix(0, 2), std::string("Weight"));
        QCOMPARE(grid.GetTextMatrix(0, 3), std::string("* No"));
        QCOMPARE(grid.GetTextMatrix(0, 4), std::string());
        QCOMPARE(grid.GetColWidth(0), 500);
        QCOMPARE(grid.GetColWidth(3), 700);
        QCOMPARE(grid.GetColWidth(4), 320);

        const char* expected[3][4] = {
            {"1", "Down", "0.5000", "10"}, {"2", "Up", "0.1235", "11"}, {"3", "Tiny", "0.0000", "12"}};
        for (int row = 1; row <= 3; ++row)
            for (int col = 0; col < 4; ++col)
                QCOMPARE(grid.GetTextMatrix(row, col), std::string(expected[row - 1][col]));
    });
}

void SolutionDialogTest::swatchesFollowTheColourRule()
{
    // 0.0149 takes no colour, so the 0.015 after it takes the next one (yellow).
    CSolutionDialog dialog;
    RunOnce(dialog, MakeRecord({{"a", 0.5f}, {"b", 0.0149f}, {"c", 0.015f}, {"d", 0.0f}, {"e", 0.4701f}}),
            [](CSolutionDialog& d) {
                const uint32_t expected[] = {0x0000FF, 0xFFFFFF, 0x00FFFF, 0xFFFFFF, 0x00FF00};
                for (int row = 1; row <= 5; ++row)
                    QCOMPARE(d.m_grid.GetCellColor(row, 4), expected[row - 1]);
            });

    // Thirteen shares that all take a slice use the palette in its order,
    // packed with red in the low byte.
    std::vector<std::pair<std::string, float>> shares(13, {"s", 1.0f / 13});
    RunOnce(dialog, MakeRecord(shares), [](CSolutionDialog& d) {
        const uint32_t expected[] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFF0000, 0xFF80FF, 0xFFFF80, 0x408000,
                                     0x4080FF, 0x80FF80, 0xFF00FF, 0x80FFFF, 0xFF0080, 0xC080FF};
        for (int row = 1; row <= 13; ++row)
            QCOMPARE(d.m_grid.GetCellColor(row, 4), expected[row - 1]);
    });
}

void SolutionDialogTest::valuesAreRoundedUpToFourDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("up") << 0.12341 << "0.1235";
    QTest::newRow("negative toward zero") << -0.12349 << "-0.1234";
    QTest::newRow("noise below zero") << -1.7e-9 << "0";
    QTest::newRow("exact") << 2.0 << "2";
    QTest::newRow("noise above a step") << 2.0000000000000004 << "2";
    QTest::newRow("noise below a step") << 0.12349999999999999 << "0.1235";
    QTest::newRow("two thirds") << 2.0 / 3.0 << "0.6667";
    QTest::newRow("tiny positive") << 1e-12 << "0.0001";
}

void SolutionDialogTest::valuesAreRoundedUpToFourDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, shown);
    CSolutionDialog dialog;
    RunOnce(dialog, MakeRecord({{"a", 1.0f}}, value, value), [&](CSolutionDialog& d) {
        QCOMPARE(d.AverageReturnEdit()->text(), shown);
        QCOMPARE(d.LineDeviationEdit()->text(), shown);
    });
    QCOMPARE(dialog.m_averageReturn, shown.toDouble());
}

void SolutionDialogTest::fixedTextsTooltipsAndLook()
{
    CSolutionDialog dialog;
    RunOnce(dialog, MakeRecord({{"a", 1.0f}}), [](CSolutionDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Single solution"));
        QCOMPARE(d.size(), korvel::DialogUnits().Size(318, 177));
        QVERIFY(!d.windowIcon().isNull());
        QVERIFY(d.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(d.windowFlags() & Qt::WindowSystemMenuHint);

        QCOMPARE(d.ContinueButton()->text(), QStringLiteral("&Continue"));
        QCOMPARE(d.EnoughButton()->text(), QStringLiteral("&Enough"));
        QVERIFY(d.ContinueButton()->isDefault());
        QCOMPARE(d.ContinueButton()->toolTip(), QStringLiteral("Continue with next single solution"));
        QCOMPARE(d.EnoughButton()->toolTip(), QStringLiteral("Enough showing solutions"));
        QVERIFY(d.AverageReturnEdit()->isReadOnly());
        QVERIFY(d.LineDeviationEdit()->isReadOnly());
        QVERIFY(d.AverageReturnEdit()->toolTip().isEmpty());

        QCOMPARE(d.TheoryLabel()->text(), QStringLiteral("It is only an obsolete theory !  Listen to yourself !"));
        QCOMPARE(d.TheoryLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QStringList labels;
        for (const QLabel* label : d.findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains(QStringLiteral("Avg.Return")));
        QVERIFY(labels.contains(QStringLiteral("Line Deviat.")));

        // The list stays clear of the chart, whatever the dialog font.
        QVERIFY(d.m_grid.Widget()->geometry().right() < d.ChartBox().left());
    });
}

void SolutionDialogTest::everyRunStartsFromTheTemplate()
{
    CSolutionDialog dialog;
    RunOnce(dialog, MakeRecord({{"a", 0.5f}, {"b", 0.3f}, {"c", 0.2f}}), [](CSolutionDialog&) {});
    RunOnce(dialog, MakeRecord({{"z", 1.0f}}, 3.0, 0.5), [](CSolutionDialog& d) {
        QCOMPARE(d.m_grid.GetRows(), 2);
        QCOMPARE(d.m_grid.GetTextMatrix(1, 1), std::string("z"));
        QCOMPARE(d.m_grid.GetCellColor(1, 4), uint32_t(0x0000FF));
        QCOMPARE(d.AverageReturnEdit()->text(), QStringLiteral("3"));
        QCOMPARE(d.LineDeviationEdit()->text(), QStringLiteral("0.5"));
    });
}

void SolutionDialogTest::keysAndButtonsEndTheRun()
{
    CSolutionDialog dialog;
    QCOMPARE(RunModalWith(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); }), 1);
    QCOMPARE(RunModalWith(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), 2);
    QCOMPARE(RunModalWith(dialog, [&] { dialog.close(); }), 2);
    QCOMPARE(RunModalWith(dialog, [&] { dialog.ContinueButton()->click(); }), 1);
    QCOMPARE(RunModalWith(dialog, [&] { dialog.EnoughButton()->click(); }), 2);
    QCOMPARE(RunModalWith(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_E, Qt::AltModifier); }), 2);
}

void SolutionDialogTest::ctrlCCopiesTheShownSolution()
{
    CSolutionDialog dialog;
    const auto press = [](QWidget* target) {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    };
    RunOnce(dialog, MakeRecord({{"Down", 0.5f}, {"Up, \"Ltd\"\tB", 0.123456f}}, 0.12341, 2.0),
            [&](CSolutionDialog& live) {
                live.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&live));
                const QString shown = QStringLiteral(
                    "Avg.Return\t0.1235\nLine Deviat.\t2\nDown\t0.5000\t10\n\"Up, \"\"Ltd\"\"\tB\"\t0.1235\t11\n");
                QCOMPARE(press(live.ContinueButton()), shown);
                // A figure box with nothing selected leaves the key to the window...
                live.AverageReturnEdit()->setFocus();
                QCOMPARE(press(live.AverageReturnEdit()), shown);
                // ...and copies its own selection.
                live.AverageReturnEdit()->selectAll();
                QCOMPARE(press(live.AverageReturnEdit()), QStringLiteral("0.1235"));
            });
}

// The Go command hands each solution to the presenter; the dialog shows that
// record, not one it held before.
void SolutionDialogTest::presenterShowsTheRecordItIsHanded()
{
    CSolutionDialog dialog;
    korvel::SolutionDialogPresenter presenter(dialog);
    std::vector<std::string> shown;
    const auto previous = CSolutionDialog::SetModalRunHook([&](CSolutionDialog& live) {
        shown.push_back(live.m_grid.GetTextMatrix(1, 1));
        return shown.size() == 1 ? int(CSolutionDialog::IDOK) : int(CSolutionDialog::IDCANCEL);
    });
    const korvel::SolutionRecord first = MakeRecord({{"First", 0.5f}, {"Other", 0.5f}});
    const korvel::SolutionRecord second = MakeRecord({{"Second", 1.0f}});
    QCOMPARE(presenter.Present(first), korvel::PresenterAnswer::Continue);
    QCOMPARE(presenter.Present(second), korvel::PresenterAnswer::Enough);
    CSolutionDialog::SetModalRunHook(previous);
    QCOMPARE(shown, (std::vector<std::string>{"First", "Second"}));
}

KORVEL_TEST_MAIN(SolutionDialogTest)
#include "solution_dialog_test.moc"
