// UNDER CONSTRUCTION
#include "app/MainFrame.h"

void CMainFrame::OnDeletePeriod()
{
}
