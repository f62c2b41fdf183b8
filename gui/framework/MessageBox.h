#pragma once
// The one road by which Tavo shows a message box. Tests replace the presenter
// to read the text and answer the box without a display.
#include <QString>
#include <functional>
#include <memory>

class QFont;
class QMessageBox;
class QWidget;

namespace korvel {

enum class MbButtons { Ok, YesNo, YesNoCancel };
enum class MbIcon { None, Information, Question, Warning, Error };

// Answers, numbered as the classic message box answers them.
enum MbResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest {
    QWidget* owner = nullptr;  // null: no owner window
    QString text;
    QString caption;  // already resolved: never empty
    MbButtons buttons = MbButtons::Ok;
    MbIcon icon = MbIcon::None;
};

using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

// The application title, caption of every box that names none of its own.
inline constexpr const char* kAppTitle = "Korvel";

// Shows a box and returns the answer. An empty caption means the application title.
int MessageBox(QWidget* owner, const QString& text, const QString& caption = {}, MbButtons buttons = MbButtons::Ok,
               MbIcon icon = MbIcon::None);

// The box the real presenter runs, unshown: at least as wide as the window
// manager needs to show its whole caption.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request);
// The width a title bar takes for caption: the text in a bold font beside a
// window icon and up to three buttons.
int CaptionBarWidth(const QString& caption, const QFont& font);

// Replaces the presenter (tests); an empty function restores the real one.
// Returns the presenter that was in place.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

}  // namespace korvel
