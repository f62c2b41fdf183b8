// Insert share and Delete share on the real form, questions answered through
// the message-box seam.
#include "edit_fixture.h"
#include "support/FormControls.h"

using edit_test::AnsweredQuestions;
using edit_test::Form;

namespace {

constexpr int kPeriods = 3;

std::vector<std::string> BlankRow(int32_t number)
{
    return {std::to_string(number), "", "", "", ""};
}

QString CellBoxText(const Form& form)
{
    return korvel::test::CellBox(form.view)->text();
}

QString CurrentCellText(const Form& form)
{
    return korvel::DisplayTextFromBytes(form.grid.GetText());
}

}  // namespace

class EditShareTest : public QObject {
    Q_OBJECT
private slots:
    void insertOpensABlankRowAtTheCurrentShare_data();
    void insertOpensABlankRowAtTheCurrentShare();
    void insertAtTheLargestWorksheetChangesNothing();
    void deleteAsksWithTheShareNameAndRow_data();
    void deleteAsksWithTheShareNameAndRow();
    void deleteMovesLaterSharesUp_data();
    void deleteMovesLaterSharesUp();
    void deleteOnlyShareBlanksItAndKeepsOneShare();
    void answeringNoChangesNothing();
};

void EditShareTest::insertOpensABlankRowAtTheCurrentShare_data()
{
    QTest::addColumn<int>("shares");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("column");
    QTest::newRow("row 3 of 5") << 5 << 3 << 2;
    QTest::newRow("last row") << 5 << 5 << 1;
    QTest::newRow("only share") << 1 << 1 << 4;
}

void EditShareTest::insertOpensABlankRowAtTheCurrentShare()
{
    QFETCH(int, shares);
    QFETCH(int, current);
    QFETCH(int, column);
    AnsweredQuestions questions;
    Form form(shares, kPeriods);
    form.MoveTo(current, column);
    QCOMPARE(CellBoxText(form), QString::fromStdString(form.grid.GetText()));

    form.view.OnInsertShare();

    QVERIFY(questions.asked.empty());
    QCOMPARE(form.grid.GetRows(), shares + 2);
    QCOMPARE(korvel::test::AssetsBox(form.view)->text(), QString::number(shares + 1));
    for (int32_t row = 1; row < current; ++row)
        QCOMPARE(form.Row(row), form.ShareRow(row, row, kPeriods));
    QCOMPARE(form.Row(current), BlankRow(current));
    for (int32_t row = current + 1; row <= shares + 1; ++row)
        QCOMPARE(form.Row(row), form.ShareRow(row - 1, row, kPeriods));
    QCOMPARE(form.grid.GetRow(), current);
    QCOMPARE(CellBoxText(form), QString());
    QVERIFY(form.doc.IsModified());
}

void EditShareTest::insertAtTheLargestWorksheetChangesNothing()
{
    Form form(CTavoView::kMaxAssets, 10);
    form.MoveTo(500, 3);
    const QString assets = korvel::test::AssetsBox(form.view)->text();
    const std::vector<std::string> last = form.Row(CTavoView::kMaxAssets);
    const std::vector<std::string> current = form.Row(500);

    form.view.OnInsertShare();

    QCOMPARE(form.grid.GetRows(), CTavoView::kMaxAssets + 1);
    QCOMPARE(korvel::test::AssetsBox(form.view)->text(), assets);
    QCOMPARE(form.Row(500), current);
    QCOMPARE(form.Row(CTavoView::kMaxAssets), last);
    QCOMPARE(CellBoxText(form), QString::fromStdString(current[3]));
    QVERIFY(!form.doc.IsModified());
}

void EditShareTest::deleteAsksWithTheShareNameAndRow_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("question");
    QTest::newRow("named") << QByteArray("Alpha") << 3 << QStringLiteral("Delete Alpha on row 3");
    QTest::newRow("empty name") << QByteArray() << 2 << QStringLiteral("Delete  on row 2");
    // A name written on an 8-bit system reads as the grid shows it.
    QTest::newRow("8-bit name") << QByteArray("Caf\xe9") << 1 << QStringLiteral("Delete Caf\u00e9 on row 1");
    // The name is text, not a format.
    QTest::newRow("percent signs") << QByteArray("%s %d %1") << 4 << QStringLiteral("Delete %s %d %1 on row 4");
}

void EditShareTest::deleteAsksWithTheShareNameAndRow()
{
    QFETCH(QByteArray, name);
    QFETCH(int, row);
    QFETCH(QString, question);
    AnsweredQuestions questions(korvel::IDNO);
    Form form(4, kPeriods);
    form.view.SetCellBytes(row, 1, name.toStdString());
    form.MoveTo(row, 2);

    form.view.OnDeleteShare();

    QCOMPARE(questions.asked.size(), size_t(1));
    const korvel::MessageBoxRequest& asked = questions.asked[0];
    QCOMPARE(asked.text, question);
    QCOMPARE(asked.caption, QStringLiteral("Question"));
    QCOMPARE(asked.buttons, korvel::MbButtons::YesNo);
    QCOMPARE(asked.icon, korvel::MbIcon::Question);
    QCOMPARE(asked.owner, static_cast<QWidget*>(&form.view));
}

void EditShareTest::deleteMovesLaterSharesUp_data()
{
    QTest::addColumn<int>("shares");
    QTest::addColumn<int>("current");
    QTest::newRow("row 2 of 4") << 4 << 2;
    QTest::newRow("first of 3") << 3 << 1;
    QTest::newRow("last row") << 5 << 5;
    QTest::newRow("last of 2") << 2 << 2;
}

void EditShareTest::deleteMovesLaterSharesUp()
{
    QFETCH(int, shares);
    QFETCH(int, current);
    AnsweredQuestions questions;
    Form form(shares, kPeriods);
    form.MoveTo(current, 3);

    form.view.OnDeleteShare();

    QCOMPARE(questions.asked.size(), size_t(1));
    QCOMPARE(form.grid.GetRows(), shares);
    QCOMPARE(korvel::test::AssetsBox(form.view)->text(), QString::number(shares - 1));
    for (int32_t row = 1; row < current; ++row)
        QCOMPARE(form.Row(row), form.ShareRow(row, row, kPeriods));
    for (int32_t row = current; row < shares; ++row)
        QCOMPARE(form.Row(row), form.ShareRow(row + 1, row, kPeriods));
    QCOMPARE(CellBoxText(form), CurrentCellText(form));
    QVERIFY(form.doc.IsModified());
}

void EditShareTest::deleteOnlyShareBlanksItAndKeepsOneShare()
{
    AnsweredQuestions questions;
    Form form(1, kPeriods);
    form.view.SetCellBytes(1, 1, "Alpha");
    form.MoveTo(1, 1);
    QCOMPARE(CellBoxText(form), QStringLiteral("Alpha"));

    form.view.OnDeleteShare();

    QCOMPARE(questions.asked.size(), size_t(1));
    QCOMPARE(questions.asked[0].text, QStringLiteral("Delete Alpha on row 1"));
    QCOMPARE(form.grid.GetRows(), 2);
    QCOMPARE(form.Row(1), BlankRow(1));
    QCOMPARE(korvel::test::AssetsBox(form.view)->text(), QStringLiteral("1"));
    QCOMPARE(CellBoxText(form), QString());
    QVERIFY(form.doc.IsModified());
}

void EditShareTest::answeringNoChangesNothing()
{
    AnsweredQuestions questions(korvel::IDNO);
    Form form(3, kPeriods);
    form.MoveTo(2, 1);
    std::vector<std::vector<std::string>> before;
    for (int32_t row = 0; row < form.grid.GetRows(); ++row)
        before.push_back(form.Row(row));

    form.view.OnDeleteShare();

    std::vector<std::vector<std::string>> after;
    for (int32_t row = 0; row < form.grid.GetRows(); ++row)
        after.push_back(form.Row(row));
    QCOMPARE(questions.asked.size(), size_t(1));
    QVERIFY(after == before);
    QCOMPARE(korvel::test::AssetsBox(form.view)->text(), QStringLiteral("3"));
    QCOMPARE(CellBoxText(form), QStringLiteral("S2"));
    QVERIFY(!form.doc.IsModified());
}

KORVEL_TEST_MAIN(EditShareTest)
#include "edit_share_test.moc"
