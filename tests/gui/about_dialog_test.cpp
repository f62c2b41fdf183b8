// The About box: its template, the link's look and colours through a run,
// the mailto: request, and the hand cursor over the link only.
#include "gui/app_test_support.h"
#include "support/GridTestSupport.h"

#include "gui/app/AboutDialog.h"
#include "gui/app/TavoApp.h"
#include "gui/framework/DialogUnits.h"
#include "gui/resources/CommandIds.h"
#include "gui/resources/LinkCursor.h"

#include <QBitmap>
#include <QPushButton>
#include <QTimer>

using namespace korvel;

namespace {

int CountPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    }
    return count;
}

// Which of the link colours the link shows when painted now.
QString PaintedColour(QWidget* link)
{
    const QImage image = link->grab().toImage();
    const bool blue = CountPixels(image, qRgb(0, 0, 255)) > 0;
    const bool purple = CountPixels(image, qRgb(128, 0, 128)) > 0;
    return blue == purple ? QStringLiteral("unclear") : blue ? QStringLiteral("blue") : QStringLiteral("purple");
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

class AboutDialogTest : public QObject {
    Q_OBJECT

private:
    QList<QUrl> m_opened;
    bool m_openSucceeds = true;

private slots:
    void init()
    {
        g_linkVisited = 0;
        m_opened.clear();
        SetLinkOpener([this](const QUrl& url) {
            m_opened.append(url);
            return m_openSucceeds;
        });
    }

    void cleanup() { SetLinkOpener({}); }

    void templateLaysOutIconOkAndLink()
    {
        CAboutDialog about;
        const DialogUnits du;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Korvel"));
        QCOMPARE(about.size(), du.Size(235, 76));
        QCOMPARE(about.OkButton()->text(), QStringLiteral("OK"));
        QCOMPARE(about.OkButton()->geometry(), du.Rect(178, 7, 50, 14));
        QVERIFY(about.OkButton()->isDefault());
        QCOMPARE(about.Link()->geometry(), du.Rect(40, 59, 79, 10));
        QCOMPARE(about.Link()->text(), QString::fromLatin1(kContactAddress));
        QVERIFY(!about.windowIcon().isNull());
        QVERIFY(!(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        bool iconFound = false;
        for (QLabel* label : about.findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                iconFound = true;
                QCOMPARE(label->pos(), QPoint(du.X(11), du.Y(17)));
            }
        }
        QVERIFY(iconFound);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(QApplication::focusWidget(), about.OkButton());
        QTest::keyClick(&about, Qt::Key_Return);
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void linkIsUnderlinedInTheDialogFontSize()
    {
        CAboutDialog about;
        const QFont font = about.Link()->font();
        QVERIFY(font.underline());
        QCOMPARE(font.pointSize(), DialogFont().pointSize());
        QCOMPARE(font.family(), about.font().family());
        QCOMPARE(about.LinkFont(), font);
    }

    void linkColourFollowsTheLastClickOfTheRun()
    {
        auto open = [](CAboutDialog& about) {
            about.show();
            return QTest::qWaitForWindowExposed(&about);
        };
        {
            CAboutDialog about;
            QVERIFY(open(about));
            QCOMPARE(PaintedColour(about.Link()), QStringLiteral("blue"));

            PaintCounter counter;
            about.Link()->installEventFilter(&counter);
            QTest::mouseClick(about.Link(), Qt::LeftButton);
            QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("mailto:support@korvel.example"))});
            QVERIFY(g_linkVisited != 0);
            QTest::qWait(50);
            QCOMPARE(counter.paints, 0);  // the click itself does not repaint
            QCOMPARE(PaintedColour(about.Link()), QStringLiteral("purple"));
            QVERIFY(about.isVisible());  // the box stays open
        }
        {
            CAboutDialog later;  // a used link stays purple for the rest of the run
            QVERIFY(open(later));
            QCOMPARE(PaintedColour(later.Link()), QStringLiteral("purple"));

            m_openSucceeds = false;  // no mail program: blue again from the next repaint
            QTest::mouseClick(later.Link(), Qt::LeftButton);
            QCOMPARE(g_linkVisited, 0);
            QCOMPARE(PaintedColour(later.Link()), QStringLiteral("blue"));
            m_openSucceeds = true;
        }
        // A press that ends outside the link is no click.
        CAboutDialog third;
        QVERIFY(open(third));
        QTest::mousePress(third.Link(), Qt::LeftButton);
        QTest::mouseRelease(third.Link(), Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(m_opened.size(), 2);
    }

    void handCursorOverTheLinkOnly()
    {
        CAboutDialog about;
        const QCursor& hand = about.Link()->cursor();
        QCOMPARE(hand.shape(), Qt::BitmapCursor);
        QCOMPARE(hand.hotSpot(), QPoint(17, 6));
        QCOMPARE(hand.bitmap().size(), QSize(32, 32));
        QVERIFY(about.Link()->testAttribute(Qt::WA_SetCursor));
        for (QWidget* other : about.findChildren<QWidget*>()) {
            if (other != about.Link())
                QVERIFY2(!other->testAttribute(Qt::WA_SetCursor), qPrintable(other->metaObject()->className()));
        }
        QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);

        // The hand: the fingertip at the hot spot is black outline, white
        // inside the finger, clear above it and in the corners.
        QVERIFY(LinkCursorBlack(17, 6) && LinkCursorOpaque(17, 6));
        QVERIFY(!LinkCursorOpaque(17, 5));
        QVERIFY(LinkCursorOpaque(17, 10) && !LinkCursorBlack(17, 10));
        QVERIFY(!LinkCursorOpaque(0, 0) && !LinkCursorOpaque(31, 31));
    }

    void aboutCommandRunsTheBoxModallyOverTheMainWindow()
    {
        apptest::RecordedBoxes boxes;
        CTavoApp app;
        app.SetExecutableDir(QFileInfo(test::GridControlModulePath()).absolutePath());
        QVERIFY(app.InitInstance({}));
        CMainFrame* frame = app.MainFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame));

        QPointer<CAboutDialog> seen;
        bool modal = false;
        QPoint offset;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<CAboutDialog*>(QApplication::activeModalWidget());
            if (seen) {
                modal = seen->isModal() && seen->parentWidget() == frame;
                offset = seen->geometry().center() - frame->geometry().center();
                seen->accept();
            }
        });
        frame->CommandAction(ID_APP_ABOUT)->trigger();
        QVERIFY(modal);
        QVERIFY2(offset.manhattanLength() <= 2, "centred over the main window");
        QVERIFY(seen.isNull());  // destroyed when the modal run returns
    }
};

KORVEL_TEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
