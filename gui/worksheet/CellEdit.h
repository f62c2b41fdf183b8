#pragma once
// CCellEdit: the "Cell" box above the grid, the only way text reaches a cell.
// Up and Down move the current row; Shift with Left or Right moves the column.
//
// The box shows a cell's bytes decoded for display (UTF-8, Windows-1252 for
// bytes that are not UTF-8). CellBytes() hands back exactly the bytes it was
// loaded with as long as the text is the one it showed, so that making a cell
// current never rewrites it, not even a text too long for the box to hold
// whole; a text the user changed goes back as UTF-8.
#include <QLineEdit>

#include <string>

class CMSFlexGrid;

class CCellEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CCellEdit(QWidget* parent = nullptr);

    void SetGrid(CMSFlexGrid* grid) { m_pGrid = grid; }

    // The edit control's own user-edited flag: set by typing, cutting, pasting
    // and undoing; cleared by the program when it loads the box from a cell.
    bool GetModify() const { return m_userEdited; }
    void SetModify(bool modified) { m_userEdited = modified; }

    // Shows a cell's bytes. Raises textChanged when the shown text changes.
    void SetCellBytes(const std::string& bytes);
    // The bytes for the current cell: the loaded ones while the text is the
    // one shown for them, otherwise the text as UTF-8.
    std::string CellBytes() const;

    // The most characters the user can type. A longer text loaded from a cell
    // is shown whole and never cut short by the limit.
    void SetTextLimit(int characters);
    int TextLimit() const { return m_limit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // True when the key moved the current cell or must not reach the box.
    bool HandleGridKey(const QKeyEvent* event);

    CMSFlexGrid* m_pGrid = nullptr;
    bool m_shiftDown = false;
    bool m_userEdited = false;
    int m_limit = 32767;  // the plain edit box's own limit until the view sets one
    std::string m_loadedBytes;
    QString m_loadedText;
};
