// UNDER CONSTRUCTION: empty handler so that the program links while the Go command is written.
#include "worksheet/TavoView.h"
void CTavoView::OnGo() {}
