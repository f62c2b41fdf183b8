// Delete Period: the returns of the first period go, every later period moves
// one column to the left, and the last period's column is left empty. The
// number of periods and the headers stay as they are.
#include "gui/app/MainFrame.h"

#include "gui/framework/MessageBox.h"
#include "gui/worksheet/TavoView.h"

void CMainFrame::OnDeletePeriod()
{
    CTavoView* view = GetActiveView();
    if (!view)
        return;
    if (korvel::MessageBox(this, QStringLiteral("Are you sure \ndeleting the first period ?"),
                           QStringLiteral("Question"), korvel::MbButtons::YesNo, korvel::MbIcon::Question)
        != korvel::IDYES)
        return;
    view->DeleteFirstPeriod();
}
