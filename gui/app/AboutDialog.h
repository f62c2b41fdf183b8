#pragma once
// CAboutDialog: the modal About box (template 100) with the program icon, OK
// and a contact link drawn like a hyperlink: underlined, blue until it has
// been used in this run, purple after, with a pointing hand over it.
#include <QCursor>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QUrl>
#include <functional>

class QPushButton;

// Non-zero once the link's last click in this run opened the mail program.
// It outlives every About box so that a used link stays purple; never saved.
extern int g_linkVisited;

namespace korvel {

inline constexpr const char* kContactAddress = "support@korvel.example";

// Opens a URL on the desktop; true when the desktop took the request.
using LinkOpener = std::function<bool(const QUrl&)>;
// Replaces the opener (tests); an empty function restores the desktop's.
// Returns the opener that was in place.
LinkOpener SetLinkOpener(LinkOpener opener);

// The static text of the link, control 1053: it paints its text in the colour
// that g_linkVisited calls for at each repaint, and reports clicks.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);
    // The colour the link is drawn in now.
    QColor TextColour() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

}  // namespace korvel

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    korvel::LinkLabel* Link() const { return m_link; }
    QPushButton* OkButton() const { return m_ok; }
    const QCursor& LinkCursor() const { return m_hLinkCursor; }
    const QFont& LinkFont() const { return m_linkFont; }

    void OnClickLink();

private:
    void OnInitDialog();

    QCursor m_hLinkCursor;
    QFont m_linkFont;
    korvel::LinkLabel* m_link = nullptr;
    QPushButton* m_ok = nullptr;
};
