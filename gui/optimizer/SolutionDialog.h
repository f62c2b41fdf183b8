#pragma once
// CSolutionDialog: the modal "Single solution" window (template 141). It shows
// one solution record, the shares it holds with their weights and
// colour swatches, its average return and line deviation, and a pie chart of
// the weights. It only reads the record.
#include "core/optimizer/SolutionRecord.h"
#include "gui/grid/MSFlexGrid.h"
#include "gui/optimizer/PieChart.h"

#include <QBrush>
#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class CSolutionDialog : public QDialog {
    Q_OBJECT
public:
    // Results of a modal run, as the classic dialog returns them.
    enum : int { IDOK = 1, IDCANCEL = 2 };

    explicit CSolutionDialog(QWidget* parent = nullptr);
    ~CSolutionDialog() override;

    // Shows m_record modally: 1 for "&Continue" or Enter, 2 for
    // "&Enough", Esc or the close box, -1 when the window cannot be made.
    int DoModal();

    // Tests answer the dialog through this hook: when set, DoModal prepares
    // and shows the window, calls the hook instead of running the modal loop,
    // hides the window and returns the hook's answer.
    using ModalRunHook = std::function<int(CSolutionDialog&)>;
    static ModalRunHook SetModalRunHook(ModalRunHook hook);

    QPushButton* ContinueButton() const { return m_continueButton; }
    QPushButton* EnoughButton() const { return m_enoughButton; }
    QLineEdit* AverageReturnEdit() const { return m_averageReturnEdit; }
    QLineEdit* LineDeviationEdit() const { return m_lineDeviationEdit; }
    QLabel* TheoryLabel() const { return m_theoryLabel; }
    QRect ChartBox() const;

    CMSFlexGrid m_grid;
    double m_averageReturn = 0.0;
    double m_lineDeviation = 0.0;
    // The record shown; none shows an empty list. Kept by the caller.
    const korvel::SolutionRecord* m_record = nullptr;

    // Ctrl+C: the solution shown, as tab-separated text on the clipboard.
    void CopySolution();

public slots:
    void accept() override;
    void reject() override;

protected:
    bool OnInitDialog();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void ResetGrid();
    void FillShareList();
    void ShowValues();

    QBrush m_frameBrush;
    int m_chartWidth = 180;
    int m_chartHeight = 175;
    int m_chartLeft = 0;
    int m_chartTop = 0;
    std::array<float, 14> m_weights{};
    std::array<korvel::chart::Rgb, 14> m_palette{};
    int m_shareCount = 0;
    double m_pieYScale = -0.5;

    QPushButton* m_continueButton = nullptr;
    QPushButton* m_enoughButton = nullptr;
    QLineEdit* m_averageReturnEdit = nullptr;
    QLineEdit* m_lineDeviationEdit = nullptr;
    QLabel* m_theoryLabel = nullptr;
};
