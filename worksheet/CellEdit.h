#pragma once
// CCellEdit: the "Cell" box above the grid, the only way text reaches a cell.
// Up and Down move the current row; Shift with Left or Right moves the column.
#include <QLineEdit>

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

signals:
    // A key was released after the user edited the box.
    void UserEditedKeyUp();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    CMSFlexGrid* m_pGrid = nullptr;
    bool m_shiftDown = false;
    bool m_userEdited = false;
};
