#include "gui/app/AboutDialog.h"

#include "gui/framework/DialogUnits.h"
#include "gui/resources/AppIcon.h"
#include "gui/resources/LinkCursor.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

int g_linkVisited = 0;

namespace korvel {
namespace {

LinkOpener& CurrentOpener()
{
    static LinkOpener opener;
    return opener;
}

bool OpenLink(const QUrl& url)
{
    const LinkOpener& opener = CurrentOpener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

}  // namespace

LinkOpener SetLinkOpener(LinkOpener opener)
{
    LinkOpener previous = std::move(CurrentOpener());
    CurrentOpener() = std::move(opener);
    return previous;
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

QColor LinkLabel::TextColour() const
{
    return g_linkVisited ? QColor(128, 0, 128) : QColor(0, 0, 255);
}

// The colour is chosen at every repaint, never at the click, so a click shows
// its outcome only when the link is next drawn.
void LinkLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(TextColour());
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

}  // namespace korvel

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    using korvel::DialogUnits;
    setWindowTitle(QStringLiteral("About Korvel"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(korvel::AppIcon());
    setFont(korvel::DialogFont());
    const DialogUnits du;
    setFixedSize(du.Size(235, 76));

    auto* icon = new QLabel(this);
    icon->setPixmap(korvel::AppIcon().pixmap(32, 32));
    icon->move(du.X(11), du.Y(17));
    icon->resize(32, 32);

    auto* name = new QLabel(QStringLiteral("Korvel Version 1.0"), this);
    du.Place(name, 40, 10, 119, 8);
    auto* copyright = new QLabel(QStringLiteral("Copyright (C) Hestrel"), this);
    du.Place(copyright, 40, 25, 119, 8);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    du.Place(m_ok, 178, 7, 50, 14);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_link = new korvel::LinkLabel(QString::fromLatin1(korvel::kContactAddress), this);
    m_link->setObjectName(QStringLiteral("IDC_LINK"));
    du.Place(m_link, 40, 59, 79, 10);
    connect(m_link, &korvel::LinkLabel::clicked, this, &CAboutDialog::OnClickLink);

    OnInitDialog();
}

void CAboutDialog::OnInitDialog()
{
    m_hLinkCursor = korvel::LinkCursor();
    // The link keeps the face and size of the dialog's own font, underlined.
    m_linkFont = m_link->font();
    m_linkFont.setUnderline(true);
    m_link->setFont(m_linkFont);
    m_link->setCursor(m_hLinkCursor);
    m_ok->setFocus();
}

void CAboutDialog::OnClickLink()
{
    const QUrl url(QStringLiteral("mailto:") + QString::fromLatin1(korvel::kContactAddress));
    g_linkVisited = korvel::OpenLink(url) ? 1 : 0;
}
