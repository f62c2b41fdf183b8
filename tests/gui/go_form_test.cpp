// Go from the worksheet form: the worksheet is typed through the Cell box,
// Go runs the real command, message boxes and the Single solution dialog are
// answered through their seams.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"

#include "gui/framework/MessageBox.h"
#include "gui/optimizer/SolutionDialog.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct ShownSolution {
    QString averageReturn;
    QString lineDeviation;
    std::vector<std::vector<std::string>> rows;  // columns 0..3 of every listed share
};

// Records every message box and every dialog; the dialog gets `answer`, or
// whatever `onDialog` does with it.
class GoSeams {
public:
    GoSeams()
    {
        m_previousBox = korvel::SetMessageBoxPresenter([this](const korvel::MessageBoxRequest& r) {
            boxes.push_back(r);
            return int(korvel::IDOK);
        });
        m_previousHook = CSolutionDialog::SetModalRunHook([this](CSolutionDialog& dialog) {
            ShownSolution shown{dialog.AverageReturnEdit()->text(), dialog.LineDeviationEdit()->text(), {}};
            for (int32_t row = 1; row < dialog.m_grid.GetRows(); ++row) {
                std::vector<std::string> cells;
                for (int32_t col = 0; col < 4; ++col)
                    cells.push_back(dialog.m_grid.GetTextMatrix(row, col));
                shown.rows.push_back(cells);
            }
            dialogs.push_back(shown);
            if (onDialog)
                return onDialog(dialog);
            return answer;
        });
    }
    ~GoSeams()
    {
        korvel::SetMessageBoxPresenter(std::move(m_previousBox));
        CSolutionDialog::SetModalRunHook(std::move(m_previousHook));
    }

    std::vector<korvel::MessageBoxRequest> boxes;
    std::vector<ShownSolution> dialogs;
    int answer = CSolutionDialog::IDOK;
    std::function<int(CSolutionDialog&)> onDialog;

private:
    korvel::MessageBoxPresenter m_previousBox;
    CSolutionDialog::ModalRunHook m_previousHook;
};

// A new worksheet on the real form, filled as a user fills it.
struct Form {
    CTavoDoc doc;
    CTavoView view{&doc};

    explicit Form(const std::vector<std::vector<std::string>>& returns, const QString& minReturn)
    {
        QVERIFY(view.Create());
        view.resize(900, 600);
        view.OnInitialUpdate();
        korvel::test::PeriodsBox(view)->setText(QString::number(returns[0].size()));
        korvel::test::AssetsBox(view)->setText(QString::number(returns.size()));
        for (size_t i = 0; i < returns.size(); ++i) {
            const int32_t row = static_cast<int32_t>(i) + 1;
            Type(row, 1, "Share " + std::to_string(row));
            for (size_t p = 0; p < returns[i].size(); ++p)
                Type(row, static_cast<int32_t>(p) + 2, returns[i][p]);
        }
        korvel::test::MinReturnBox(view)->setText(minReturn);
        doc.SetModifiedFlag(false);
    }

    void Type(int32_t row, int32_t col, const std::string& text)
    {
        view.MakeCurrent(row, col);
        korvel::test::CellBox(view)->setText(QString::fromStdString(text));
    }

    std::vector<std::string> Snapshot() const
    {
        std::vector<std::string> cells;
        for (int32_t row = 0; row < view.Grid().GetRows(); ++row)
            for (int32_t col = 0; col < view.Grid().GetCols(); ++col)
                cells.push_back(view.Grid().GetTextMatrix(row, col));
        return cells;
    }
};

const std::vector<std::vector<std::string>> kMirrored{{"1", "2", "3"}, {"3", "2", "1"}};
const std::vector<std::vector<std::string>> kParallel{{"1", "2", "3"}, {"2", "3", "4"}};

}  // namespace

class GoFormTest : public QObject {
    Q_OBJECT
private slots:
    void mirroredSharesShowOneHalfAndHalfSolution();
    void minReturnAboveEveryMeanSaysNoSolution();
    void singleShareHoldsTheWholeBudget();
    void continueShowsEveryRisingSolutionAndEnoughStopsAtOnce();
    void validationMessagesCarryTheirCaptionAndIcon_data();
    void validationMessagesCarryTheirCaptionAndIcon();
    void exceptionsInTheGuardedSection();
    void goLeavesTheWorksheetAndTheDocumentAlone();
    void anOverlongMinReturnIsReportedOnce();
};

void GoFormTest::mirroredSharesShowOneHalfAndHalfSolution()
{
    GoSeams seams;
    Form form(kMirrored, "1");
    form.view.OnGo();

    QCOMPARE(seams.boxes.size(), size_t(0));
    QCOMPARE(seams.dialogs.size(), size_t(1));
    const ShownSolution& shown = seams.dialogs[0];
    QCOMPARE(shown.averageReturn, QStringLiteral("2"));
    QCOMPARE(shown.lineDeviation, QStringLiteral("0"));
    const std::vector<std::vector<std::string>> rows{{"1", "Share 2", "0.5000", "2"}, {"2", "Share 1", "0.5000", "1"}};
    QVERIFY(shown.rows == rows);
    QCOMPARE(form.view.MinReturn(), 1.0);
}

void GoFormTest::minReturnAboveEveryMeanSaysNoSolution()
{
    GoSeams seams;
    Form form(kMirrored, "2.5");
    form.view.OnGo();

    QCOMPARE(seams.dialogs.size(), size_t(0));
    QCOMPARE(seams.boxes.size(), size_t(1));
    QCOMPARE(seams.boxes[0].text, QStringLiteral("No solution"));
    QCOMPARE(seams.boxes[0].caption, QStringLiteral("Korvel"));
    QCOMPARE(seams.boxes[0].icon, korvel::MbIcon::None);
    QCOMPARE(seams.boxes[0].buttons, korvel::MbButtons::Ok);
}

void GoFormTest::singleShareHoldsTheWholeBudget()
{
    GoSeams seams;
    Form form({{"1", "2", "3"}}, "1");
    form.view.OnGo();

    QCOMPARE(seams.dialogs.size(), size_t(1));
    QCOMPARE(seams.dialogs[0].averageReturn, QStringLiteral("2"));
    QCOMPARE(seams.dialogs[0].lineDeviation, QStringLiteral("0.6667"));
    const std::vector<std::vector<std::string>> rows{{"1", "Share 1", "1.0000", "1"}};
    QVERIFY(seams.dialogs[0].rows == rows);
}

void GoFormTest::continueShowsEveryRisingSolutionAndEnoughStopsAtOnce()
{
    {
        GoSeams seams;
        Form form(kParallel, "1");
        form.view.OnGo();
        QCOMPARE(seams.dialogs.size(), size_t(2));
        QCOMPARE(seams.dialogs[0].averageReturn, QStringLiteral("2"));
        QCOMPARE(seams.dialogs[1].averageReturn, QStringLiteral("3"));
        QCOMPARE(seams.dialogs[1].rows[0][1], std::string("Share 2"));
        QCOMPARE(seams.boxes.size(), size_t(0));
    }
    {
        GoSeams seams;
        seams.answer = CSolutionDialog::IDCANCEL;
        Form form(kParallel, "1");
        form.view.OnGo();
        QCOMPARE(seams.dialogs.size(), size_t(1));
        QCOMPARE(seams.boxes.size(), size_t(0));
    }
    {
        // A modal run that fails is taken like "&Continue".
        GoSeams seams;
        seams.answer = -1;
        Form form(kParallel, "1");
        form.view.OnGo();
        QCOMPARE(seams.dialogs.size(), size_t(2));
    }
}

void GoFormTest::validationMessagesCarryTheirCaptionAndIcon_data()
{
    QTest::addColumn<QString>("minReturn");
    QTest::addColumn<QString>("cell");  // share 1, period 3
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("keptMinReturn");

    const QString notPositive = QStringLiteral("Min Return must be positive value !");
    const QString notValid = QStringLiteral("MinReturn not valid !");
    QTest::newRow("empty") << ""
                           << "3" << notPositive << 0.0;
    QTest::newRow("negative") << "-1"
                              << "3" << notPositive << -1.0;
    QTest::newRow("trailing percent") << "5%"
                                      << "3" << notValid << 5.0;
    QTest::newRow("bad cell") << "1"
                              << "3 "
                              << "Invalid Return3 on row 1" << 1.0;
    QTest::newRow("leading blank accepted") << " 0.0001"
                                            << "3" << QString() << 0.0001;
}

void GoFormTest::validationMessagesCarryTheirCaptionAndIcon()
{
    QFETCH(QString, minReturn);
    QFETCH(QString, cell);
    QFETCH(QString, message);
    QFETCH(double, keptMinReturn);

    GoSeams seams;
    seams.answer = CSolutionDialog::IDCANCEL;
    Form form({{"1", "2", cell.toStdString()}}, minReturn);
    form.view.OnGo();

    QCOMPARE(form.view.MinReturn(), keptMinReturn);
    if (message.isEmpty()) {
        QCOMPARE(seams.boxes.size(), size_t(0));
        QCOMPARE(seams.dialogs.size(), size_t(1));
        return;
    }
    QCOMPARE(seams.dialogs.size(), size_t(0));
    QCOMPARE(seams.boxes.size(), size_t(1));
    const korvel::MessageBoxRequest& box = seams.boxes[0];
    QCOMPARE(box.text, message);
    QCOMPARE(box.buttons, korvel::MbButtons::Ok);
    if (message.startsWith(QStringLiteral("Invalid"))) {
        QCOMPARE(box.caption, QStringLiteral("Korvel"));
        QCOMPARE(box.icon, korvel::MbIcon::None);
    } else {
        QCOMPARE(box.caption, QStringLiteral("Error"));
        QCOMPARE(box.icon, korvel::MbIcon::Information);
    }
}

void GoFormTest::exceptionsInTheGuardedSection()
{
    {
        GoSeams seams;
        seams.onDialog = [](CSolutionDialog&) -> int { throw std::runtime_error("grid call failed"); };
        Form form(kParallel, "1");
        form.view.OnGo();
        QCOMPARE(seams.dialogs.size(), size_t(1));
        QCOMPARE(seams.boxes.size(), size_t(1));
        QCOMPARE(seams.boxes[0].text, QStringLiteral("C++ exception occured !"));
        QCOMPARE(seams.boxes[0].caption, QStringLiteral("Korvel"));
        QCOMPARE(seams.boxes[0].icon, korvel::MbIcon::None);
    }
    {
        // Memory that cannot be had ends the command without a word.
        GoSeams seams;
        seams.onDialog = [](CSolutionDialog&) -> int { throw std::bad_alloc(); };
        Form form(kParallel, "1");
        form.view.OnGo();
        QCOMPARE(seams.dialogs.size(), size_t(1));
        QCOMPARE(seams.boxes.size(), size_t(0));
    }
}

void GoFormTest::goLeavesTheWorksheetAndTheDocumentAlone()
{
    GoSeams seams;
    Form form(kParallel, "1");
    const std::vector<std::string> before = form.Snapshot();
    const int32_t row = form.view.Grid().GetRow();
    const int32_t col = form.view.Grid().GetCol();

    form.view.OnGo();

    QCOMPARE(seams.dialogs.size(), size_t(2));
    QVERIFY(form.Snapshot() == before);
    QCOMPARE(form.view.Grid().GetRow(), row);
    QCOMPARE(form.view.Grid().GetCol(), col);
    QVERIFY(!form.doc.IsModified());
    QCOMPARE(korvel::test::MinReturnBox(form.view)->text(), QStringLiteral("1"));
}

void GoFormTest::anOverlongMinReturnIsReportedOnce()
{
    GoSeams seams;
    Form form(kMirrored, "1");
    form.view.SetMinReturnBytes("1.000000000000000000001");  // only a file can hold 23 characters
    form.view.UpdateData(false);
    QStringList texts;
    const auto previous = korvel::SetMessageBoxPresenter([&](const korvel::MessageBoxRequest& r) {
        texts.push_back(r.text);
        // A real box takes the focus from the field while it is open.
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(korvel::test::MinReturnBox(form.view), &out);
        return int(korvel::IDOK);
    });
    form.view.OnGo();
    korvel::SetMessageBoxPresenter(previous);
    QCOMPARE(texts, QStringList{QStringLiteral("Min Return: enter no more than 20 characters.")});
    QCOMPARE(seams.dialogs.size(), size_t(1));  // Go goes on with the text as it is
}

KORVEL_TEST_MAIN(GoFormTest)
#include "go_form_test.moc"
