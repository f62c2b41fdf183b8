// The real message box behind the presenter seam: its buttons and icon as
// asked, and room for its whole caption however short its text.
#include "support/GridTestSupport.h"

#include "gui/framework/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

using namespace korvel;

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void aShortTextLeavesRoomForTheCaption()
    {
        const std::unique_ptr<QMessageBox> box = MakeMessageBox(
            {nullptr, QStringLiteral("No solution"), QStringLiteral("Korvel"), MbButtons::Ok, MbIcon::None});
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QCOMPARE(box->windowTitle(), QStringLiteral("Korvel"));
        QCOMPARE(box->text(), QStringLiteral("No solution"));
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY2(box->width() >= CaptionBarWidth(QStringLiteral("Korvel"), box->font()),
                 qPrintable(QString::number(box->width())));

        // A longer caption widens the bar it needs, beyond its bold text.
        QFont bold = box->font();
        bold.setBold(true);
        const QString caption = QStringLiteral("A caption much longer than its message");
        QVERIFY(CaptionBarWidth(caption, box->font()) > QFontMetrics(bold).horizontalAdvance(caption));
        const std::unique_ptr<QMessageBox> wide =
            MakeMessageBox({nullptr, QStringLiteral("x"), caption, MbButtons::YesNo, MbIcon::Question});
        wide->show();
        QVERIFY(QTest::qWaitForWindowExposed(wide.get()));
        QVERIFY(wide->width() >= CaptionBarWidth(caption, wide->font()));
        QCOMPARE(wide->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(wide->icon(), QMessageBox::Question);
    }
};

KORVEL_TEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
