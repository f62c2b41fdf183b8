#pragma once
// Open and Save As ask for a path here, so that tests can answer without a dialog.
#include <QString>
#include <functional>

class QWidget;

namespace korvel {

enum class FileDialogKind { Open, SaveAs };

// Returns the chosen path, or an empty string when the user cancelled.
// The dialogs offer only a filter for all files: documents have no extension.
using FileDialogPresenter = std::function<QString(QWidget* owner, FileDialogKind kind, const QString& suggestedPath)>;

QString ChooseDocumentPath(QWidget* owner, FileDialogKind kind, const QString& suggestedPath = {});

// Replaces the presenter (tests); an empty function restores the real dialogs.
FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter);

}  // namespace korvel
