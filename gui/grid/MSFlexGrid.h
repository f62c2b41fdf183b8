#pragma once
// CMSFlexGrid: Tavo's wrapper of the grid control and the only way the rest of
// the program reaches it. The control is created from the per-user control
// registry (class id -> module file), never linked in.
#include "gui/grid/FlexGridControl.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <string>

class QString;

class CMSFlexGrid : public QObject, private IFlexGridEvents {
    Q_OBJECT
public:
    explicit CMSFlexGrid(QObject* parent = nullptr);
    ~CMSFlexGrid() override;

    // Looks up the control's class id in the registry, loads the module that
    // provides it and makes the control as a child of parent at geometry.
    // False when the class is not registered, the module cannot make it, or
    // this wrapper already holds a control.
    bool Create(QWidget* parent, const QRect& geometry);
    // False before Create and again once the control's widget is gone (its
    // parent may delete it); every operation is then a no-op reading 0 or "".
    bool IsCreated() const { return Control() != nullptr; }
    QWidget* Widget() const;

    int32_t GetRows() const;
    void SetRows(int32_t rows);
    int32_t GetCols() const;
    void SetCols(int32_t cols);
    int32_t GetFixedRows() const;
    void SetFixedRows(int32_t rows);
    int32_t GetFixedCols() const;
    void SetFixedCols(int32_t cols);
    int32_t GetRow() const;
    void SetRow(int32_t row);
    int32_t GetCol() const;
    void SetCol(int32_t col);
    std::string GetText() const;
    void SetText(const std::string& text);
    const std::string& GetTextMatrix(int32_t row, int32_t col) const;
    void SetTextMatrix(int32_t row, int32_t col, const std::string& text);
    void SetColAlignment(int32_t col, int16_t alignment);
    int32_t GetColWidth(int32_t col) const;
    void SetColWidth(int32_t col, int32_t twips);
    void SetCurrentCellColor(uint32_t colorBgr);
    uint32_t GetCellColor(int32_t row, int32_t col) const;

signals:
    void Click();
    void LeaveCell();
    void RowColChange();
    void EnterCell();

private:
    void OnClick() override { emit Click(); }
    void OnLeaveCell() override { emit LeaveCell(); }
    void OnRowColChange() override { emit RowColChange(); }
    void OnEnterCell() override { emit EnterCell(); }

    IFlexGridControl* Control() const { return m_widget ? m_control : nullptr; }

    struct Module;
    static std::shared_ptr<Module> LoadModule(const QString& path);
    std::shared_ptr<Module> m_module;  // the loaded module, shared by every grid
    IFlexGridControl* m_control = nullptr;
    QPointer<QWidget> m_widget;  // the control's widget, owned by its parent
};
