// The Go command of the worksheet view: the optimizer core checks, builds,
// solves and walks the solutions; the view shows each one in the Single
// solution dialog and reports the outcome in the command's message boxes.
#include "framework/MessageBox.h"
#include "optimizer/GridCellSource.h"
#include "optimizer/SolutionDialog.h"
#include "optimizer/core/GoCommand.h"
#include "worksheet/TavoView.h"

#include <new>

namespace {

// One dialog object serves every solution of a Go command.
class SolutionDialogPresenter : public korvel::SolutionPresenter {
public:
    SolutionDialogPresenter(CSolutionDialog& dialog, CTavoView& view) : m_dialog(dialog), m_view(view) {}

    korvel::PresenterAnswer Present(const korvel::SolutionRecord&) override
    {
        m_dialog.m_pView = &m_view;
        // A run that fails is taken like "&Continue".
        return m_dialog.DoModal() == CSolutionDialog::IDCANCEL ? korvel::PresenterAnswer::Enough
                                                                : korvel::PresenterAnswer::Continue;
    }

private:
    CSolutionDialog& m_dialog;
    CTavoView& m_view;
};

void ShowGoOutcome(QWidget* owner, const korvel::GoResult& result)
{
    if (result.outcome == korvel::GoOutcome::Done)
        return;
    const QString text = QString::fromStdString(result.message);
    if (korvel::HasErrorCaption(result))
        korvel::MessageBox(owner, text, QStringLiteral("Error"), korvel::MbButtons::Ok,
                           korvel::MbIcon::Information);
    else
        korvel::MessageBox(owner, text);
}

}  // namespace

void CTavoView::OnGo()
{
    // A failed exchange has shown its own message; Go goes on with the text
    // the member has taken.
    UpdateData(true);
    const std::string minReturnText = MinReturnBytes();
    // The parsed Min Return stays in the view even when the command ends early.
    korvel::ParseWholeNumber(minReturnText, m_minReturn);

    const korvel::GridCellSource cells(m_grid);
    CSolutionDialog dialog(window());
    SolutionDialogPresenter presenter(dialog, *this);
    korvel::GoResult result;
    try {
        result = korvel::RunGo(minReturnText, cells, m_solution, presenter);
    } catch (const std::bad_alloc&) {
        // The tableau could not be had: the command ends without a word of its own.
        return;
    } catch (...) {
        korvel::MessageBox(this, QStringLiteral("C++ exception occured !"));
        return;
    }
    m_minReturn = result.minReturn;
    ShowGoOutcome(this, result);
}
