// Grids: cells in columns and rows, the first ones fixed (headings), a current cell and a
// selected range, scrolling by top row and left column, an in-place editor, and drawing of
// each cell through DrawCell (OnDrawCell) over a default look.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

#include <map>
#include <memory>
#include <vector>

namespace vcl {

RTL_EXCEPTION_CLASS(EInvalidGridOperation, rtl::Exception);

enum class TGridOption : uint8_t {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TSet<TGridOption>;
const rtl::TTypeInfo* GridOptionsTypeInfo();

enum class TGridDrawStateItem : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
    int X = 0, Y = 0;
    bool operator==(const TGridCoord&) const = default;
};
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

class TCustomGrid;
using TSelectCellEvent = rtl::TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool& /*CanSelect*/>;
using TDrawCellEvent = rtl::TEvent<TObject*, int /*ACol*/, int /*ARow*/, const TRect& /*Rect*/,
                                   TGridDrawState /*State*/>;
using TGetEditEvent = rtl::TEvent<TObject*, int /*ACol*/, int /*ARow*/, std::string& /*Value*/>;
using TSetEditEvent =
    rtl::TEvent<TObject*, int /*ACol*/, int /*ARow*/, const std::string& /*Value*/>;

class TCustomGrid : public TCustomControl {
    RTL_DECLARE_CLASS(TCustomGrid, TCustomControl)
public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    // Below 1 is taken as 1; fixed columns (rows) give way to keep one scrolling one.
    int ColCount() const { return static_cast<int>(FColWidths.size()); }
    void SetColCount(int v);
    int RowCount() const { return static_cast<int>(FRowHeights.size()); }
    void SetRowCount(int v);
    // EInvalidGridOperation "Fixed column count must be less than column count".
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int v);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int v);
    int DefaultColWidth() const { return FDefaultColWidth; }
    // Sets every column to the width.
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int v);
    // EInvalidGridOperation "Grid index out of range" outside the columns (rows).
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    int FixedColor() const { return FFixedColor; }
    void SetFixedColor(int v);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v) { FDefaultDrawing = v; }

    // The current cell. Moving it asks SelectCell (OnSelectCell) first, scrolls it into view
    // and runs OnClick; EInvalidGridOperation "Grid index out of range" outside the grid.
    int Col() const { return FCurrent.X; }
    void SetCol(int v) { FocusCell(v, FCurrent.Y, true); }
    int Row() const { return FCurrent.Y; }
    void SetRow(int v) { FocusCell(FCurrent.X, v, true); }
    void FocusCell(int col, int row, bool moveAnchor);
    // The range from the anchor to the current cell (whole rows with goRowSelect).
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int v);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int v);
    // Scrolling cells wholly visible in the client area.
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // The rectangle of a cell in client coordinates; empty when the cell is scrolled away
    // or outside the grid.
    TRect CellRect(int col, int row) const;
    // The cell at a client point; -1, -1 outside the cells.
    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int& col, int& row) const;

    // The in-place editor (goEditing): shown on F2, Enter or a typed character, never on a
    // fixed cell or with goRowSelect.
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool v);
    void ShowEditor() { SetEditorMode(true); }
    void HideEditor() { SetEditorMode(false); }
    const std::string& EditorText() const { return FEditText; }
    // The text in the editor changed (the view or a test types): SetEditText.
    void UserEditText(const std::string& text);

    // Arrows, Home/End (Ctrl: first/last row), PgUp/PgDn, Tab with goTabs; Shift extends the
    // range with goRangeSelect; F2 and Enter show the editor, Escape hides it.
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    // A press on a scrolling cell makes it current (with Shift and goRangeSelect: extends).
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // The click came with the press (moving to the cell clicks, as in the VCL).
    void MouseClick() override {}
    // The background, each visible cell (its default look, then DrawCell), the grid lines
    // (fixed ones black, the others silver) and the focus frame.
    void Paint() override;

    TNotifyEvent FOnTopLeftChanged;

protected:
    virtual bool SelectCell(int col, int row);
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    virtual std::string GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const std::string& value);
    virtual bool CanEditShow() const;
    virtual void SizeChanged(int oldColCount, int oldRowCount) {
        (void)oldColCount;
        (void)oldRowCount;
    }
    void Loaded() override;

private:
    void MoveCurrent(int col, int row, bool moveAnchor);
    void ClampInView();
    void TopLeftMoved(TGridCoord old);
    int ColStep(int col) const; // width plus the line after it
    int RowStep(int row) const;
    std::vector<int> FColWidths, FRowHeights;
    int FFixedCols = 1, FFixedRows = 1, FDefaultColWidth = 64, FDefaultRowHeight = 24,
        FGridLineWidth = 1;
    int FFixedColor = int(0x8000000F); // clBtnFace
    TGridOptions FOptions;
    TGridCoord FCurrent{1, 1}, FAnchor{1, 1}, FTopLeft{1, 1};
    bool FEditorMode = false, FDefaultDrawing = true;
    std::string FEditText, FEditStart;
};

class TDrawGrid : public TCustomGrid {
    RTL_DECLARE_CLASS(TDrawGrid, TCustomGrid)
public:
    using TCustomGrid::TCustomGrid;
    TDrawCellEvent FOnDrawCell;
    TSelectCellEvent FOnSelectCell;
    TGetEditEvent FOnGetEditText;
    TSetEditEvent FOnSetEditText;

protected:
    bool SelectCell(int col, int row) override;
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
};

class TStringGrid;

// A column or row of a string grid as a list of strings: as many lines as the grid has rows
// (columns); Add fills the first empty cell, lines cannot be inserted or deleted.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid* grid, bool column, int index);
    int Count() const override;
    const std::string& Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;

private:
    void Cell(int index, int& col, int& row) const;
    TStringGrid* FGrid;
    bool FColumn;
    int FIndex;
};

class TStringGrid : public TDrawGrid {
    RTL_DECLARE_CLASS(TStringGrid, TDrawGrid)
public:
    explicit TStringGrid(TComponent* owner);
    ~TStringGrid() override;
    // Cells outside the grid's size are kept (and read as empty until set), as the VCL does;
    // a negative index raises EInvalidGridOperation "Grid index out of range".
    const std::string& Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& value);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* obj);
    TStrings* Cols(int col);
    TStrings* Rows(int row);
    void SetCols(int col, TStrings* values) { Cols(col)->Assign(*values); }
    void SetRows(int row, TStrings* values) { Rows(row)->Assign(*values); }

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;

private:
    struct Cell {
        std::string Text;
        TObject* Object = nullptr;
    };
    static void Check(int col, int row);
    std::map<std::pair<int, int>, Cell> FCells; // (row, col)
    std::map<int, std::unique_ptr<TStringGridStrings>> FCols, FRows;
};

void RegisterGrids();

} // namespace vcl
