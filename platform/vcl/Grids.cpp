#include "platform/vcl/Grids.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

namespace {

[[noreturn]] void OutOfRange() {
    throw EInvalidGridOperation("Grid index out of range");
}

bool Has(TGridOptions o, TGridOption e) {
    return o.Contains(e);
}

} // namespace

const rtl::TTypeInfo* GridOptionsTypeInfo() {
    static const rtl::TTypeInfo* t = rtl::SetTypeInfo(
        "TGridOptions",
        rtl::EnumTypeInfo("TGridOption",
                          {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                           "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing",
                           "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
                           "goAlwaysShowEditor", "goThumbTracking"}));
    return t;
}

RTL_BEGIN_ABSTRACT_CLASS(TCustomGrid, TCustomControl)
c.Int("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount);
c.Int("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount);
c.Int("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols);
c.Int("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows);
c.Int("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth);
c.Int("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight);
c.Int("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth);
c.Set("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions, GridOptionsTypeInfo());
c.Int("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor, ColorTypeInfo());
c.Bool("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing);
c.Event("OnTopLeftChanged", &TCustomGrid::FOnTopLeftChanged);
RTL_END_CLASS

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner), FColWidths(5, 64),
      FRowHeights(5, 24), FOptions{TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine,
                                   TGridOption::goVertLine, TGridOption::goHorzLine,
                                   TGridOption::goRangeSelect} {
    SetTabStop(true);
    SetColor(int(uint32_t(clWindow)));
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::SetColCount(int v) {
    v = std::max(1, v);
    if (v == ColCount()) return;
    int oldCols = ColCount();
    if (v <= FFixedCols) FFixedCols = v - 1;
    FColWidths.resize(size_t(v), FDefaultColWidth);
    // The current cell and the scroll position stay inside the grid.
    FCurrent.X = std::clamp(FCurrent.X, FFixedCols, v - 1);
    FAnchor.X = std::clamp(FAnchor.X, FFixedCols, v - 1);
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, v - 1);
    SizeChanged(oldCols, RowCount());
    Invalidate();
}

void TCustomGrid::SetRowCount(int v) {
    v = std::max(1, v);
    if (v == RowCount()) return;
    int oldRows = RowCount();
    if (v <= FFixedRows) FFixedRows = v - 1;
    FRowHeights.resize(size_t(v), FDefaultRowHeight);
    FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, v - 1);
    FAnchor.Y = std::clamp(FAnchor.Y, FFixedRows, v - 1);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, v - 1);
    SizeChanged(ColCount(), oldRows);
    Invalidate();
}

void TCustomGrid::SetFixedCols(int v) {
    if (v < 0) OutOfRange();
    if (v >= ColCount())
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    FFixedCols = v;
    FCurrent.X = std::max(FCurrent.X, v);
    FAnchor.X = std::max(FAnchor.X, v);
    FTopLeft.X = std::max(FTopLeft.X, v);
    Invalidate();
}

void TCustomGrid::SetFixedRows(int v) {
    if (v < 0) OutOfRange();
    if (v >= RowCount()) throw EInvalidGridOperation("Fixed row count must be less than row count");
    FFixedRows = v;
    FCurrent.Y = std::max(FCurrent.Y, v);
    FAnchor.Y = std::max(FAnchor.Y, v);
    FTopLeft.Y = std::max(FTopLeft.Y, v);
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int v) {
    FDefaultColWidth = std::max(0, v);
    std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
    FDefaultRowHeight = std::max(0, v);
    std::fill(FRowHeights.begin(), FRowHeights.end(), FDefaultRowHeight);
    Invalidate();
}

int TCustomGrid::ColWidths(int col) const {
    if (col < 0 || col >= ColCount()) OutOfRange();
    return FColWidths[size_t(col)];
}

void TCustomGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= ColCount()) OutOfRange();
    FColWidths[size_t(col)] = std::max(0, width);
    Invalidate();
}

int TCustomGrid::RowHeights(int row) const {
    if (row < 0 || row >= RowCount()) OutOfRange();
    return FRowHeights[size_t(row)];
}

void TCustomGrid::SetRowHeights(int row, int height) {
    if (row < 0 || row >= RowCount()) OutOfRange();
    FRowHeights[size_t(row)] = std::max(0, height);
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int v) {
    FGridLineWidth = std::max(0, v);
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v) {
    if (v == FOptions) return;
    FOptions = v;
    if (FEditorMode && !CanEditShow()) FEditorMode = false;
    if (Has(v, TGridOption::goAlwaysShowEditor) && Has(v, TGridOption::goEditing))
        SetEditorMode(true);
    Invalidate();
}

void TCustomGrid::SetFixedColor(int v) {
    if (v == FFixedColor) return;
    FFixedColor = v;
    Invalidate();
}

int TCustomGrid::ColStep(int col) const {
    bool fixed = col < FFixedCols;
    bool line = Has(FOptions, fixed ? TGridOption::goFixedVertLine : TGridOption::goVertLine);
    return FColWidths[size_t(col)] + (line ? FGridLineWidth : 0);
}

int TCustomGrid::RowStep(int row) const {
    bool fixed = row < FFixedRows;
    bool line = Has(FOptions, fixed ? TGridOption::goFixedHorzLine : TGridOption::goHorzLine);
    return FRowHeights[size_t(row)] + (line ? FGridLineWidth : 0);
}

TRect TCustomGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
    if ((col >= FFixedCols && col < FTopLeft.X) || (row >= FFixedRows && row < FTopLeft.Y))
        return {};
    int x = 0;
    for (int c = 0; c < FFixedCols && c < col; ++c)
        x += ColStep(c);
    if (col >= FFixedCols)
        for (int c = FTopLeft.X; c < col; ++c)
            x += ColStep(c);
    int y = 0;
    for (int r = 0; r < FFixedRows && r < row; ++r)
        y += RowStep(r);
    if (row >= FFixedRows)
        for (int r = FTopLeft.Y; r < row; ++r)
            y += RowStep(r);
    if (x >= Width() || y >= Height()) return {};
    return {x, y, std::min(x + FColWidths[size_t(col)], Width()),
            std::min(y + FRowHeights[size_t(row)], Height())};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    auto find = [](int p, int fixed, int first, int count, auto step) {
        if (p < 0) return -1;
        int at = 0;
        for (int i = 0; i < count; ++i) {
            if (i == fixed) i = first;
            if (i >= count) break;
            int s = step(i);
            if (p < at + s) return i;
            at += s;
        }
        return -1;
    };
    int col = find(x, FFixedCols, FTopLeft.X, ColCount(), [this](int c) { return ColStep(c); });
    int row = find(y, FFixedRows, FTopLeft.Y, RowCount(), [this](int r) { return RowStep(r); });
    if (col < 0 || row < 0 || x >= Width() || y >= Height()) return {-1, -1};
    return {col, row};
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
    TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
}

int TCustomGrid::VisibleColCount() const {
    int x = 0;
    for (int c = 0; c < FFixedCols; ++c)
        x += ColStep(c);
    int n = 0;
    for (int c = FTopLeft.X; c < ColCount(); ++c) {
        if (x + FColWidths[size_t(c)] > Width()) break;
        x += ColStep(c);
        ++n;
    }
    return std::max(n, 1);
}

int TCustomGrid::VisibleRowCount() const {
    int y = 0;
    for (int r = 0; r < FFixedRows; ++r)
        y += RowStep(r);
    int n = 0;
    for (int r = FTopLeft.Y; r < RowCount(); ++r) {
        if (y + FRowHeights[size_t(r)] > Height()) break;
        y += RowStep(r);
        ++n;
    }
    return std::max(n, 1);
}

TGridRect TCustomGrid::Selection() const {
    TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
                std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
    if (Has(FOptions, TGridOption::goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = ColCount() - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& r) {
    auto inside = [this](int c, int rr) {
        return c >= FFixedCols && c < ColCount() && rr >= FFixedRows && rr < RowCount();
    };
    if (!inside(r.Left, r.Top) || !inside(r.Right, r.Bottom)) OutOfRange();
    FAnchor = {r.Left, r.Top};
    FCurrent = {r.Right, r.Bottom};
    ClampInView();
    ViewChanged(TViewChange::vcState);
    Invalidate();
}

bool TCustomGrid::SelectCell(int, int) {
    return true;
}

void TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor) {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) OutOfRange();
    if (!SelectCell(col, row)) return;
    bool moved = FCurrent.X != col || FCurrent.Y != row;
    if (moved && FEditorMode) SetEditorMode(false);
    FCurrent = {col, row};
    if (moveAnchor || !Has(FOptions, TGridOption::goRangeSelect)) FAnchor = FCurrent;
    ClampInView();
    if (Has(FOptions, TGridOption::goAlwaysShowEditor) && Has(FOptions, TGridOption::goEditing))
        SetEditorMode(true);
    ViewChanged(TViewChange::vcState);
    Invalidate();
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
    MoveCurrent(col, row, moveAnchor);
    Click();
}

void TCustomGrid::ClampInView() {
    TGridCoord old = FTopLeft;
    if (FCurrent.X >= FFixedCols) {
        if (FCurrent.X < FTopLeft.X) FTopLeft.X = FCurrent.X;
        while (FCurrent.X >= FTopLeft.X + VisibleColCount() && FTopLeft.X < FCurrent.X)
            ++FTopLeft.X;
    }
    if (FCurrent.Y >= FFixedRows) {
        if (FCurrent.Y < FTopLeft.Y) FTopLeft.Y = FCurrent.Y;
        while (FCurrent.Y >= FTopLeft.Y + VisibleRowCount() && FTopLeft.Y < FCurrent.Y)
            ++FTopLeft.Y;
    }
    TopLeftMoved(old);
}

void TCustomGrid::TopLeftMoved(TGridCoord old) {
    if (old == FTopLeft) return;
    Invalidate();
    FOnTopLeftChanged(this);
}

void TCustomGrid::SetTopRow(int v) {
    TGridCoord old = FTopLeft;
    FTopLeft.Y = std::clamp(v, FFixedRows, RowCount() - 1);
    TopLeftMoved(old);
}

void TCustomGrid::SetLeftCol(int v) {
    TGridCoord old = FTopLeft;
    FTopLeft.X = std::clamp(v, FFixedCols, ColCount() - 1);
    TopLeftMoved(old);
}

bool TCustomGrid::CanEditShow() const {
    return Has(FOptions, TGridOption::goEditing) && !Has(FOptions, TGridOption::goRowSelect) &&
           FCurrent.X >= FFixedCols && FCurrent.Y >= FFixedRows;
}

std::string TCustomGrid::GetEditText(int, int) {
    return "";
}

void TCustomGrid::SetEditText(int, int, const std::string&) {}

void TCustomGrid::SetEditorMode(bool v) {
    if (v == FEditorMode) return;
    if (v) {
        if (!CanEditShow()) return;
        FEditText = GetEditText(FCurrent.X, FCurrent.Y);
        FEditStart = FEditText;
        FEditorMode = true;
    } else {
        if (Has(FOptions, TGridOption::goAlwaysShowEditor) && CanEditShow()) return;
        FEditorMode = false;
    }
    ViewChanged(TViewChange::vcState);
}

void TCustomGrid::UserEditText(const std::string& text) {
    if (!FEditorMode) return;
    FEditText = text;
    SetEditText(FCurrent.X, FCurrent.Y, text);
}

void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool extend =
        shift.Contains(TShiftStateItem::ssShift) && Has(FOptions, TGridOption::goRangeSelect);
    const int firstCol = FFixedCols, lastCol = ColCount() - 1;
    const int firstRow = FFixedRows, lastRow = RowCount() - 1;
    if (firstCol > lastCol || firstRow > lastRow) return;
    if (FEditorMode && (key == VK_LEFT || key == VK_RIGHT)) return; // they move in the text
    int col = FCurrent.X, row = FCurrent.Y;
    switch (key) {
    case VK_UP:
        row = std::max(firstRow, row - 1);
        break;
    case VK_DOWN:
        row = std::min(lastRow, row + 1);
        break;
    case VK_LEFT:
        col = std::max(firstCol, col - 1);
        break;
    case VK_RIGHT:
        col = std::min(lastCol, col + 1);
        break;
    case 0x21: /* VK_PRIOR */
        row = std::max(firstRow, row - VisibleRowCount());
        break;
    case 0x22: /* VK_NEXT */
        row = std::min(lastRow, row + VisibleRowCount());
        break;
    case 0x24: /* VK_HOME */
        if (ctrl) row = firstRow;
        col = firstCol;
        break;
    case 0x23: /* VK_END */
        if (ctrl) row = lastRow;
        col = lastCol;
        break;
    case VK_TAB:
        if (!Has(FOptions, TGridOption::goTabs) || ctrl) return;
        // Cell by cell, on into the next (previous) row; the ends pass the focus on.
        if (!shift.Contains(TShiftStateItem::ssShift)) {
            if (col < lastCol)
                ++col;
            else if (row < lastRow)
                col = firstCol, ++row;
            else
                return;
        } else {
            if (col > firstCol)
                --col;
            else if (row > firstRow)
                col = lastCol, --row;
            else
                return;
        }
        key = 0;
        FocusCell(col, row, true);
        return;
    case VK_F2:
        SetEditorMode(true);
        key = 0;
        return;
    default:
        return;
    }
    key = 0;
    if (col != FCurrent.X || row != FCurrent.Y) FocusCell(col, row, !extend);
}

void TCustomGrid::KeyPress(char32_t& key) {
    TCustomControl::KeyPress(key);
    if (key == 0 || !Has(FOptions, TGridOption::goEditing)) return;
    if (key == U'\r') {
        SetEditorMode(!FEditorMode);
        key = 0;
    } else if (key == 27) {
        if (FEditorMode) {
            // Escape puts back the text the editor started with.
            if (FEditText != FEditStart) UserEditText(FEditStart);
            HideEditor();
            key = 0;
        }
    } else if (key >= 32 && key <= 0x10FFFF && !(key >= 0xD800 && key <= 0xDFFF) && !FEditorMode &&
               CanEditShow()) {
        // A typed character opens the editor on it, replacing the text.
        SetEditorMode(true);
        std::string s;
        rtl::AppendUtf8(s, key);
        UserEditText(s);
        key = 0;
    }
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    TGridCoord c = MouseCoord(x, y);
    if (c.X < FFixedCols || c.Y < FFixedRows) return; // headings and nothing
    bool extend =
        shift.Contains(TShiftStateItem::ssShift) && Has(FOptions, TGridOption::goRangeSelect);
    if (shift.Contains(TShiftStateItem::ssDouble) && Has(FOptions, TGridOption::goEditing)) {
        SetEditorMode(true);
        return;
    }
    FocusCell(c.X, c.Y, !extend);
}

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(TColor(uint32_t(Color())));
    canvas->FillRect({0, 0, Width(), Height()});
    const TGridRect sel = Selection();
    const bool focused = Focused();
    std::vector<int> cols, rows;
    for (int c = 0; c < ColCount(); ++c)
        if (c < FFixedCols || c >= FTopLeft.X) cols.push_back(c);
    for (int r = 0; r < RowCount(); ++r)
        if (r < FFixedRows || r >= FTopLeft.Y) rows.push_back(r);
    for (int r : rows)
        for (int c : cols) {
            TRect rect = CellRect(c, r);
            if (rect.IsEmpty()) continue;
            TGridDrawState state;
            const bool fixed = c < FFixedCols || r < FFixedRows;
            if (fixed) state.Include(TGridDrawStateItem::gdFixed);
            const bool current = c == FCurrent.X && r == FCurrent.Y;
            if (current && focused) state.Include(TGridDrawStateItem::gdFocused);
            const bool inSel =
                !fixed && c >= sel.Left && c <= sel.Right && r >= sel.Top && r <= sel.Bottom;
            // The current cell shows as selected only with goDrawFocusSelected or row select,
            // or when the grid does not hold the focus.
            if (inSel && (!current || !focused || Has(FOptions, TGridOption::goDrawFocusSelected) ||
                          Has(FOptions, TGridOption::goRowSelect)))
                state.Include(TGridDrawStateItem::gdSelected);
            canvas->Font()->Assign(Font());
            canvas->Pen()->SetColor(clBlack);
            canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            if (FDefaultDrawing) {
                if (state.Contains(TGridDrawStateItem::gdSelected)) {
                    canvas->Brush()->SetColor(clHighlight);
                    canvas->Font()->SetColor(clHighlightText);
                } else {
                    canvas->Brush()->SetColor(TColor(uint32_t(fixed ? FFixedColor : Color())));
                }
                canvas->FillRect(rect);
            }
            DrawCell(c, r, rect, state);
            if (FDefaultDrawing && fixed && Ctl3D() &&
                (Has(FOptions, TGridOption::goFixedVertLine) ||
                 Has(FOptions, TGridOption::goFixedHorzLine))) {
                // The raised face of a heading.
                canvas->Pen()->SetColor(clBtnHighlight);
                canvas->MoveTo(rect.Left, rect.Bottom - 1);
                canvas->LineTo(rect.Left, rect.Top);
                canvas->LineTo(rect.Right, rect.Top);
                canvas->Pen()->SetColor(clBtnShadow);
                canvas->MoveTo(rect.Right - 1, rect.Top + 1);
                canvas->LineTo(rect.Right - 1, rect.Bottom - 1);
                canvas->LineTo(rect.Left, rect.Bottom - 1);
            }
            if (FDefaultDrawing && (state.Contains(TGridDrawStateItem::gdFocused)) &&
                !Has(FOptions, TGridOption::goRowSelect) && !FEditorMode)
                canvas->DrawFocusRect(rect);
        }
    if (FGridLineWidth <= 0) return;
    // The lines after each cell, in the line width.
    auto lines = [&](bool vertical, TGridOption fixedOpt, TGridOption opt) {
        const std::vector<int>& list = vertical ? cols : rows;
        for (int i : list) {
            TRect cell = vertical ? CellRect(i, rows.empty() ? 0 : rows.front())
                                  : CellRect(cols.empty() ? 0 : cols.front(), i);
            if (cell.IsEmpty()) continue;
            bool fixed = vertical ? i < FFixedCols : i < FFixedRows;
            if (!Has(FOptions, fixed ? fixedOpt : opt)) continue;
            canvas->Brush()->SetColor(fixed ? clBlack : clSilver);
            int at =
                vertical ? cell.Left + FColWidths[size_t(i)] : cell.Top + FRowHeights[size_t(i)];
            // Fixed lines run along the headings only, the others along the whole grid.
            if (vertical) {
                int bottom = 0;
                for (int r : rows)
                    if (!CellRect(i, r).IsEmpty()) bottom = CellRect(i, r).Bottom + FGridLineWidth;
                canvas->FillRect({at, 0, at + FGridLineWidth, std::min(bottom, Height())});
            } else {
                int right = 0;
                for (int c : cols)
                    if (!CellRect(c, i).IsEmpty()) right = CellRect(c, i).Right + FGridLineWidth;
                canvas->FillRect({0, at, std::min(right, Width()), at + FGridLineWidth});
            }
        }
    };
    lines(true, TGridOption::goFixedVertLine, TGridOption::goVertLine);
    lines(false, TGridOption::goFixedHorzLine, TGridOption::goHorzLine);
}

void TCustomGrid::Loaded() {
    TCustomControl::Loaded();
    ClampInView();
}

// ---- Draw grid -----------------------------------------------------------------------------

RTL_BEGIN_CLASS(TDrawGrid, TCustomGrid)
c.Event("OnDrawCell", &TDrawGrid::FOnDrawCell, "TDrawCellEvent");
c.Event("OnSelectCell", &TDrawGrid::FOnSelectCell, "TSelectCellEvent");
c.Event("OnGetEditText", &TDrawGrid::FOnGetEditText, "TGetEditEvent");
c.Event("OnSetEditText", &TDrawGrid::FOnSetEditText, "TSetEditEvent");
RTL_END_CLASS

bool TDrawGrid::SelectCell(int col, int row) {
    bool can = true;
    FOnSelectCell(this, col, row, can);
    return can;
}

void TDrawGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    FOnDrawCell(this, col, row, rect, state);
}

std::string TDrawGrid::GetEditText(int col, int row) {
    std::string value;
    FOnGetEditText(this, col, row, value);
    return value;
}

void TDrawGrid::SetEditText(int col, int row, const std::string& value) {
    FOnSetEditText(this, col, row, value);
}

// ---- String grid ---------------------------------------------------------------------------

TStringGridStrings::TStringGridStrings(TStringGrid* grid, bool column, int index)
    : FGrid(grid), FColumn(column), FIndex(index) {}

int TStringGridStrings::Count() const {
    return FColumn ? FGrid->RowCount() : FGrid->ColCount();
}

void TStringGridStrings::Cell(int index, int& col, int& row) const {
    CheckIndex(index, Count());
    col = FColumn ? FIndex : index;
    row = FColumn ? index : FIndex;
}

const std::string& TStringGridStrings::Get(int index) const {
    int c, r;
    Cell(index, c, r);
    return FGrid->Cells(c, r);
}

void TStringGridStrings::Put(int index, const std::string& s) {
    int c, r;
    Cell(index, c, r);
    FGrid->SetCells(c, r, s);
}

TObject* TStringGridStrings::GetObject(int index) const {
    int c, r;
    Cell(index, c, r);
    return FGrid->Objects(c, r);
}

void TStringGridStrings::PutObject(int index, TObject* obj) {
    int c, r;
    Cell(index, c, r);
    FGrid->SetObjects(c, r, obj);
}

void TStringGridStrings::Insert(int, const std::string&) {
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Delete(int) {
    throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Clear() {
    for (int i = 0; i < Count(); ++i) {
        Put(i, "");
        PutObject(i, nullptr);
    }
}

int TStringGridStrings::Add(const std::string& s) {
    for (int i = 0; i < Count(); ++i)
        if (Get(i).empty()) {
            Put(i, s);
            return i;
        }
    return -1; // no empty cell left: the line is dropped, as in the VCL
}

RTL_BEGIN_CLASS(TStringGrid, TDrawGrid)
RTL_END_CLASS

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {}
TStringGrid::~TStringGrid() = default;

void TStringGrid::Check(int col, int row) {
    if (col < 0 || row < 0) OutOfRange();
}

const std::string& TStringGrid::Cells(int col, int row) const {
    static const std::string empty;
    Check(col, row);
    auto it = FCells.find({row, col});
    return it == FCells.end() ? empty : it->second.Text;
}

void TStringGrid::SetCells(int col, int row, const std::string& value) {
    Check(col, row);
    auto it = FCells.find({row, col});
    if (it == FCells.end()) {
        if (value.empty()) return;
        it = FCells.emplace(std::make_pair(row, col), Cell{}).first;
    }
    if (it->second.Text == value) return;
    it->second.Text = value;
    if (value.empty() && !it->second.Object) FCells.erase(it);
    Invalidate();
}

TObject* TStringGrid::Objects(int col, int row) const {
    Check(col, row);
    auto it = FCells.find({row, col});
    return it == FCells.end() ? nullptr : it->second.Object;
}

void TStringGrid::SetObjects(int col, int row, TObject* obj) {
    Check(col, row);
    auto it = FCells.find({row, col});
    if (it == FCells.end()) {
        if (!obj) return;
        it = FCells.emplace(std::make_pair(row, col), Cell{}).first;
    }
    it->second.Object = obj;
    if (!obj && it->second.Text.empty()) FCells.erase(it);
}

TStrings* TStringGrid::Cols(int col) {
    Check(col, 0);
    auto& slot = FCols[col];
    if (!slot) slot = std::make_unique<TStringGridStrings>(this, true, col);
    return slot.get();
}

TStrings* TStringGrid::Rows(int row) {
    Check(0, row);
    auto& slot = FRows[row];
    if (!slot) slot = std::make_unique<TStringGridStrings>(this, false, row);
    return slot.get();
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        canvas->TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
    TDrawGrid::DrawCell(col, row, rect, state);
}

std::string TStringGrid::GetEditText(int col, int row) {
    std::string value = Cells(col, row);
    FOnGetEditText(this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
    SetCells(col, row, value);
    TDrawGrid::SetEditText(col, row, value);
}

void RegisterGrids() {
    static const bool done = [] {
        (void)TDrawGrid::StaticClassInfo();
        (void)TStringGrid::StaticClassInfo();
        return true;
    }();
    (void)done;
}

} // namespace vcl
