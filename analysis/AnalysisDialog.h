#pragma once
// CAnalysisDialog: the modeless "Single analysis" window. The main frame owns
// one, creates it hidden, shows it on Analyse and destroys it with itself.
#include <QDialog>

class CAnalysisDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAnalysisDialog(QWidget* parent = nullptr);
    ~CAnalysisDialog() override;

    // Builds the window from its template, hidden (runs OnInitDialog once).
    bool Create();
};
