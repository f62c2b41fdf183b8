#include "gui/framework/MessageBox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace korvel {
namespace {

QMessageBox::Icon ToQtIcon(MbIcon icon)
{
    switch (icon) {
    case MbIcon::Information:
        return QMessageBox::Information;
    case MbIcon::Question:
        return QMessageBox::Question;
    case MbIcon::Warning:
        return QMessageBox::Warning;
    case MbIcon::Error:
        return QMessageBox::Critical;
    case MbIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

int ShowOnScreen(const MessageBoxRequest& request)
{
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(request);
    switch (box->exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        break;
    }
    // Ok, or the close box of a box whose only button is OK.
    return request.buttons == MbButtons::Ok ? IDOK : IDCANCEL;
}

// QMessageBox sizes itself from its layout, so a spacer as wide as the
// caption's bar keeps a short text ("No solution") from cutting the caption.
void FitCaption(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int margins = grid->contentsMargins().left() + grid->contentsMargins().right();
    const int width = CaptionBarWidth(box.windowTitle(), box.font()) - margins;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

MessageBoxPresenter& CurrentPresenter()
{
    static MessageBoxPresenter presenter;
    return presenter;
}

}  // namespace

int CaptionBarWidth(const QString& caption, const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // Icon and three buttons, each about a line high and square, with room around them.
    return metrics.horizontalAdvance(caption) + 4 * (metrics.height() + 8) + 24;
}

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request)
{
    auto box = std::make_unique<QMessageBox>(ToQtIcon(request.icon), request.caption, request.text,
                                             QMessageBox::NoButton, request.owner);
    switch (request.buttons) {
    case MbButtons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    case MbButtons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MbButtons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    FitCaption(*box);
    return box;
}

int MessageBox(QWidget* owner, const QString& text, const QString& caption, MbButtons buttons, MbIcon icon)
{
    MessageBoxRequest request{owner, text, caption.isEmpty() ? QString::fromLatin1(kAppTitle) : caption, buttons, icon};
    const MessageBoxPresenter& presenter = CurrentPresenter();
    return presenter ? presenter(request) : ShowOnScreen(request);
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    MessageBoxPresenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

}  // namespace korvel
