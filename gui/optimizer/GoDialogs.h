#pragma once
// The Go command's windows: each solution in the Single solution dialog, the
// outcome in the command's message boxes. The caller owns the worksheet.
#include "core/optimizer/GoCommand.h"

#include <string>

class CSolutionDialog;
class QWidget;

namespace korvel {

// One dialog object serves every solution of a Go command; it shows the
// record it is handed.
class SolutionDialogPresenter : public SolutionPresenter {
public:
    explicit SolutionDialogPresenter(CSolutionDialog& dialog) : m_dialog(dialog) {}
    PresenterAnswer Present(const SolutionRecord& record) override;

private:
    CSolutionDialog& m_dialog;
};

// Runs Go on the worksheet's cells with owner's windows; solution receives
// each record shown. The returned minReturn is the parsed Min Return, also
// when the command ended early.
GoResult RunGoWithDialogs(QWidget* owner, const CellSource& cells, const std::string& minReturnText,
                          SolutionRecord& solution);

}  // namespace korvel
