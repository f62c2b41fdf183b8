#pragma once
// CAnalysisDialog: the modeless "Single analysis" window. The main frame owns
// one, creates it hidden, shows it on Analyse and destroys it with itself.
#include "core/analysis/Statistics.h"
#include "gui/analysis/AnalysisTemplate.h"

#include <QDialog>
#include <QString>

#include <array>
#include <string>

class CAnalysisDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAnalysisDialog(QWidget* parent = nullptr);
    ~CAnalysisDialog() override;

    // Builds the window from its template, hidden (runs OnInitDialog once).
    bool Create();

    // The window's own buttons and the close box hide it; Enter and Esc do not.
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    using ReturnTexts = std::array<QString, korvel::kAnalysisReturnBoxes>;

    bool OnInitDialog();
    void ConnectHandlers();
    void InvalidateResults();
    void OnChangePeriodCount();
    void OnChangeFirstPart();
    void OnSelectAsset();
    void OnClear();
    void OnNew();
    void OnCalculate();
    void ReportInvalidReturn(const korvel::InvalidReturn& invalid);
    void ShowFigures(const korvel::AnalysisFigures& figures);
    void OnOK();
    void OnCancel();

    // Data exchange of m_asset with the asset list.
    void ReadAssetSelection();
    void ShowAssetSelection();
    ReturnTexts& StoredReturns(int asset);
    void StoreReturnBoxes(int asset);
    void LoadReturnBoxes(int asset);
    void ShowResult(QLineEdit* box, const std::string& text);
    void SwitchReturnBoxes(int from, int to);

    int m_asset = 0;  // 0 = First, 1 = Second: the asset the return boxes show
    ReturnTexts m_returnsFirst;
    ReturnTexts m_returnsSecond;

    korvel::AnalysisControls m_controls;
    bool m_created = false;
    bool m_placed = false;  // placed over the main window at its first showing
};
