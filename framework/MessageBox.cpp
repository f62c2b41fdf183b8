#include "framework/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace korvel {
namespace {

QMessageBox::Icon ToQtIcon(MbIcon icon)
{
    switch (icon) {
    case MbIcon::Information: return QMessageBox::Information;
    case MbIcon::Question: return QMessageBox::Question;
    case MbIcon::Warning: return QMessageBox::Warning;
    case MbIcon::Error: return QMessageBox::Critical;
    case MbIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

int ShowOnScreen(const MessageBoxRequest& request)
{
    QMessageBox box(ToQtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    request.owner);
    switch (request.buttons) {
    case MbButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MbButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MbButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: break;
    }
    // Ok, or the close box of a box whose only button is OK.
    return request.buttons == MbButtons::Ok ? IDOK : IDCANCEL;
}

MessageBoxPresenter& CurrentPresenter()
{
    static MessageBoxPresenter presenter;
    return presenter;
}

}  // namespace

int MessageBox(QWidget* owner, const QString& text, const QString& caption, MbButtons buttons,
               MbIcon icon)
{
    MessageBoxRequest request{owner, text, caption.isEmpty() ? QString::fromLatin1(kAppTitle) : caption,
                              buttons, icon};
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
