#include "gui/framework/FileDialogs.h"

#include <QFileDialog>

namespace korvel {
namespace {

FileDialogPresenter& CurrentPresenter()
{
    static FileDialogPresenter presenter;
    return presenter;
}

QString ShowOnScreen(QWidget* owner, FileDialogKind kind, const QString& suggestedPath)
{
    const QString filter = QObject::tr("All Files (*)");
    if (kind == FileDialogKind::Open)
        return QFileDialog::getOpenFileName(owner, QObject::tr("Open"), suggestedPath, filter);
    return QFileDialog::getSaveFileName(owner, QObject::tr("Save As"), suggestedPath, filter);
}

}  // namespace

QString ChooseDocumentPath(QWidget* owner, FileDialogKind kind, const QString& suggestedPath)
{
    const FileDialogPresenter& presenter = CurrentPresenter();
    return presenter ? presenter(owner, kind, suggestedPath) : ShowOnScreen(owner, kind, suggestedPath);
}

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter)
{
    FileDialogPresenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

}  // namespace korvel
