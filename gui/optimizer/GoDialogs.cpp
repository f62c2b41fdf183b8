#include "gui/optimizer/GoDialogs.h"

#include "core/text/NumberText.h"
#include "gui/framework/MessageBox.h"
#include "gui/optimizer/SolutionDialog.h"

#include <new>

namespace korvel {

PresenterAnswer SolutionDialogPresenter::Present(const SolutionRecord& record)
{
    m_dialog.m_record = &record;
    // A run that fails is taken like "&Continue".
    return m_dialog.DoModal() == CSolutionDialog::IDCANCEL ? PresenterAnswer::Enough : PresenterAnswer::Continue;
}

namespace {

void ShowGoOutcome(QWidget* owner, const GoResult& result)
{
    if (result.outcome == GoOutcome::Done)
        return;
    const QString text = QString::fromStdString(result.message);
    if (HasErrorCaption(result))
        MessageBox(owner, text, QStringLiteral("Error"), MbButtons::Ok, MbIcon::Information);
    else
        MessageBox(owner, text);
}

}  // namespace

GoResult RunGoWithDialogs(QWidget* owner, const CellSource& cells, const std::string& minReturnText,
                          SolutionRecord& solution)
{
    GoResult result;
    // The parsed Min Return stays with the caller even when the command ends early.
    text::ReadWholeNumber(minReturnText, result.minReturn);

    CSolutionDialog dialog(owner ? owner->window() : nullptr);
    SolutionDialogPresenter presenter(dialog);
    try {
        result = RunGo(minReturnText, cells, solution, presenter);
    } catch (const std::bad_alloc&) {
        // The tableau could not be had: the command ends without a word of its own.
        return result;
    } catch (...) {
        MessageBox(owner, QStringLiteral("C++ exception occured !"));
        return result;
    }
    ShowGoOutcome(owner, result);
    return result;
}

}  // namespace korvel
