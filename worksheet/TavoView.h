#pragma once
// CTavoView: the one view, a form that shows the worksheet grid and the three
// fields that shape it (Assets, Periods, Min Return). The worksheet lives only
// in the grid and in m_minReturnText.
//
// Its handlers are spread by subject:
//   worksheet/TavoView.cpp              form, data exchange, reset, resizing, cell box
//   worksheet/TavoViewEditCommands.cpp  Insert/Delete share, Undo/Cut/Copy/Paste
//   optimizer/TavoViewGo.cpp            the Go command
#include "grid/MSFlexGrid.h"
#include "optimizer/core/SolutionRecord.h"

#include <QScrollArea>
#include <QString>

class CCellEdit;
class CTavoDoc;
class QLabel;
class QLineEdit;

namespace korvel { class CCmdUI; class UpDownControl; }

class CTavoView : public QScrollArea {
    Q_OBJECT
public:
    explicit CTavoView(CTavoDoc* document, QWidget* parent = nullptr);
    ~CTavoView() override;

    // Builds the form's controls and the grid control (OnCreate); false when
    // the grid control cannot be created.
    bool Create();

    CTavoDoc* GetDocument() const { return m_document; }

    // Data exchange: true pulls the fields into the members (and validates the
    // Min Return length, showing the validation message), false pushes them.
    bool UpdateData(bool saveAndValidate = true);

    // Called after every New and every successful Open.
    void OnInitialUpdate();
    bool ResetWorksheet();

    // Cell box and grid events.
    void LoadCellEdit();
    void OnChangeCellEdit();
    void OnClickGrid();
    void OnLeaveCellGrid();
    void OnRowColChangeGrid();

    // Field change handlers.
    void OnChangeAssets();
    void OnChangePeriods();
    void OnChangeMinReturn();
    void OnKillFocusMinReturn();

    // Editing commands.
    void OnInsertShare();
    void OnDeleteShare();
    void OnEditUndo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnUpdateEditUndo(korvel::CCmdUI* cmdUI);
    void OnUpdateEditCopyCut(korvel::CCmdUI* cmdUI);
    void OnUpdateEditPaste(korvel::CCmdUI* cmdUI);
    static bool IsEditControl(const QWidget* window);

    // The Go command.
    void OnGo();

    // Widgets and members the document, the frame and the commands reach.
    CMSFlexGrid m_grid;
    CCellEdit* m_cellEdit = nullptr;
    korvel::UpDownControl* m_periodsSpin = nullptr;
    korvel::UpDownControl* m_assetsSpin = nullptr;
    QLineEdit* m_assetsEdit = nullptr;    // control 1002, buddy of m_assetsSpin
    QLineEdit* m_periodsEdit = nullptr;   // control 1003, buddy of m_periodsSpin
    QLineEdit* m_minReturnEdit = nullptr; // control 1008
    QString m_minReturnText;
    double m_minReturn = 0.0;
    korvel::SolutionRecord m_solution;
    bool m_justLoaded = false;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSize(int cx, int cy);

    CTavoDoc* m_document;
    QWidget* m_form = nullptr;
    bool m_controlsBound = false;  // set by the first data exchange
};
