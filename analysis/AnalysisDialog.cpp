// UNDER CONSTRUCTION: so that the frame links while the window is written.
#include "analysis/AnalysisDialog.h"
CAnalysisDialog::CAnalysisDialog(QWidget* parent) : QDialog(parent) {}
CAnalysisDialog::~CAnalysisDialog() = default;
bool CAnalysisDialog::Create() { return true; }
