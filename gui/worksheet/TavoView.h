#pragma once
// CTavoView: the one view, a form that shows the worksheet grid and the three
// fields that shape it (Assets, Periods, Min Return). The worksheet lives only
// in the grid and in m_minReturnText.
//
// Its handlers are spread by subject:
//   gui/worksheet/TavoView.cpp              form, data exchange, reset, resizing, cell box
//   gui/worksheet/TavoViewEditCommands.cpp  Insert/Delete share, Undo/Cut/Copy/Paste
//   gui/worksheet/TavoViewGo.cpp            the Go command
#include "core/optimizer/SolutionRecord.h"
#include "core/worksheet/WorksheetRules.h"
#include "gui/grid/MSFlexGrid.h"

#include <QRect>
#include <QScrollArea>
#include <QString>

#include <cstdint>
#include <string>

class CCellEdit;
class CTavoDoc;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace korvel {
class CCmdUI;
class UpDownControl;
class WorksheetTable;
}  // namespace korvel

class CTavoView : public QScrollArea {
    Q_OBJECT
public:
    static constexpr uint32_t kCurrentCellColor = 0xC0FFFF;  // light yellow, 0x00BBGGRR
    static constexpr uint32_t kLeftCellColor = 0xFFFFFF;     // white
    static constexpr int kCellEditLimit = korvel::kMaxCellChars;
    static constexpr int kMinReturnLimit = korvel::kMaxMinReturnChars;
    static constexpr int kMinAssets = korvel::kMinShares, kMaxAssets = korvel::kMaxShares;
    static constexpr int kMinPeriods = korvel::kMinPeriods, kMaxPeriods = korvel::kMaxPeriods;

    explicit CTavoView(CTavoDoc* document, QWidget* parent = nullptr);
    ~CTavoView() override;

    // The form's controls exist from construction; Create makes the grid
    // control on the form (OnCreate) and is false when it cannot be made.
    bool Create();

    CTavoDoc* GetDocument() const { return m_document; }

    // Data exchange: true pulls the fields into the members (and validates the
    // Min Return length, showing the validation message), false pushes them.
    bool UpdateData(bool saveAndValidate = true);

    // The Min Return text as document bytes: the bytes it was loaded from
    // while the text is unchanged, otherwise UTF-8. Setting shows nothing
    // until the next UpdateData(false).
    std::string MinReturnBytes() const;
    void SetMinReturnBytes(const std::string& bytes);

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

    // The worksheet as shown, to read it; it changes only through the intents.
    const CMSFlexGrid& Grid() const { return m_grid; }

    // What the document and the frame ask of the form.
    // Shows a loaded worksheet: its Min Return and counts, and its first
    // cellsShown cells (those a short file held). A complete worksheet also
    // loads the cell box, and the reset that follows a load leaves it alone.
    void ShowWorksheet(const korvel::WorksheetTable& table, size_t cellsShown, bool complete);
    // The returns of the first period go and later periods move one left.
    void DeleteFirstPeriod();

    // What a user does on the form, for the commands and the tests.
    void SetShareCount(int shares);              // as the Assets spin does
    void SetPeriodCount(int periods);            // as the Periods spin does
    void SetMinReturnText(const QString& text);  // as typing over the field does
    void MakeCurrent(int32_t row, int32_t col);  // as the arrow keys do
    void SetCellBytes(int32_t row, int32_t col, const std::string& bytes);

    // The Min Return text of the last data exchange, the Min Return the last
    // Go ran with, and whether a load waits for its reset.
    const QString& MinReturnText() const { return m_minReturnText; }
    double MinReturn() const { return m_minReturn; }
    bool JustLoaded() const { return m_justLoaded; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool DoDataExchange(bool saveAndValidate);
    void BuildForm();
    void SetTabOrder();
    void ConnectControls();
    void OnSize(int cx, int cy);
    void MarkDocumentModified();
    void OnMinReturnFocusOut(Qt::FocusReason reason);
    bool GridBound() const { return m_controlsBound && m_grid.IsCreated(); }
    // The value in a spin's buddy when it lies in the spin's range; otherwise
    // the buddy gets back the count the grid has (shown) and the result is -1.
    int AcceptedSpinValue(korvel::UpDownControl* spin, int gridCount);

    CMSFlexGrid m_grid;
    CCellEdit* m_cellEdit = nullptr;
    korvel::UpDownControl* m_periodsSpin = nullptr;
    korvel::UpDownControl* m_assetsSpin = nullptr;
    QLineEdit* m_assetsEdit = nullptr;     // control 1002, buddy of m_assetsSpin
    QLineEdit* m_periodsEdit = nullptr;    // control 1003, buddy of m_periodsSpin
    QLineEdit* m_minReturnEdit = nullptr;  // control 1008
    QString m_minReturnText;
    double m_minReturn = 0.0;
    korvel::SolutionRecord m_solution;
    bool m_justLoaded = false;

    CTavoDoc* m_document;
    QWidget* m_form = nullptr;
    QRect m_gridPlace;             // the grid's rectangle on the form, in pixels
    bool m_controlsBound = false;  // set by the first data exchange
    bool m_inKillFocus = false;    // the validation message takes the focus too
    std::string m_minReturnLoadedBytes;
    QString m_minReturnLoadedText;
};
