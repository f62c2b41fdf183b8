#pragma once
// The binary face of the grid control, shared by the control's module
// (Msflxgrd.ocx) and the CMSFlexGrid wrapper in Tavo. The module exports:
//
//   extern "C" int DllRegisterServer();
//       records, in the per-user control registry, that this module file
//       provides kFlexGridClassId; returns 0 on success.
//   extern "C" IFlexGridControl* FlexGridCreateControl(const char* classId, QWidget* parent);
//       makes a new control (a child widget of parent) of the class named by
//       classId, or returns null for a class the module does not provide.
//
// Cell texts are byte strings, kept exactly as they were set; a cell never
// written, or outside the grid, reads "". Only cells outside the fixed rows
// and columns can be current: SetRow/SetCol with a fixed or out-of-range
// index change nothing. SetRows/SetCols keep the cells inside the new size,
// drop the others, add empty ones, and never go below one non-fixed row and
// column. Whenever the current cell moves (SetRow, SetCol, a resize that
// pulls it in, the mouse, the keys) the control fires LeaveCell before the
// move, RowColChange and EnterCell after it.
#include <cstdint>
#include <string>

class QWidget;

inline constexpr const char* kFlexGridClassId = "{6262D3A0-531B-11CF-91F6-C2863C385E30}";
inline constexpr const char* kFlexGridRegisterEntry = "DllRegisterServer";
inline constexpr const char* kFlexGridCreateEntry = "FlexGridCreateControl";

// Events the control fires, synchronously, into the sink its owner gives it.
class IFlexGridEvents {
public:
    virtual void OnClick() = 0;         // the user clicked the grid (after any cell change)
    virtual void OnLeaveCell() = 0;     // before the current cell changes
    virtual void OnRowColChange() = 0;  // after the current cell changed
    virtual void OnEnterCell() = 0;     // after the current cell changed, after RowColChange

protected:
    ~IFlexGridEvents() = default;
};

class IFlexGridControl {
public:
    virtual ~IFlexGridControl() = default;

    virtual QWidget* Widget() = 0;
    virtual void SetEventSink(IFlexGridEvents* sink) = 0;

    virtual int32_t GetRows() const = 0;
    virtual void SetRows(int32_t rows) = 0;
    virtual int32_t GetCols() const = 0;
    virtual void SetCols(int32_t cols) = 0;
    virtual int32_t GetFixedRows() const = 0;
    virtual void SetFixedRows(int32_t rows) = 0;
    virtual int32_t GetFixedCols() const = 0;
    virtual void SetFixedCols(int32_t cols) = 0;
    virtual int32_t GetRow() const = 0;
    virtual void SetRow(int32_t row) = 0;
    virtual int32_t GetCol() const = 0;
    virtual void SetCol(int32_t col) = 0;
    virtual std::string GetText() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual const std::string& GetTextMatrix(int32_t row, int32_t col) const = 0;
    virtual void SetTextMatrix(int32_t row, int32_t col, const std::string& text) = 0;
    // 0..8 as the classic control (1 = left, vertically centred); 9, the
    // default, puts numbers right and other text left.
    virtual void SetColAlignment(int32_t col, int16_t alignment) = 0;
    virtual int32_t GetColWidth(int32_t col) const = 0;        // twips
    virtual void SetColWidth(int32_t col, int32_t twips) = 0;  // negative: the default width
    virtual void SetCurrentCellColor(uint32_t colorBgr) = 0;   // 0x00BBGGRR
    // The background shown: the colour set on the cell, else white, or grey
    // for fixed cells.
    virtual uint32_t GetCellColor(int32_t row, int32_t col) const = 0;
};

using FlexGridRegisterFn = int (*)();
using FlexGridCreateFn = IFlexGridControl* (*)(const char* classId, QWidget* parent);
