#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

struct GridLog : TObject {
    std::vector<std::string> Events;
    int RefuseCol = -1;
    void Select(TObject*, int c, int r, bool& can) {
        Events.push_back("select " + std::to_string(c) + "," + std::to_string(r));
        if (c == RefuseCol) can = false;
    }
    void SetEdit(TObject*, int c, int r, const std::string& v) {
        Events.push_back("edit " + std::to_string(c) + "," + std::to_string(r) + "=" + v);
    }
    std::vector<std::string> Drawn;
    void Draw(TObject* s, int c, int r, const TRect& rect, TGridDrawState st) {
        if (c == 2 && r == 2) {
            auto* g = static_cast<TStringGrid*>(s);
            g->Canvas()->Brush()->SetColor(clLime);
            g->Canvas()->FillRect(rect);
        }
        if (st.Contains(TGridDrawStateItem::gdFixed)) Drawn.push_back("fixed");
        if (st.Contains(TGridDrawStateItem::gdSelected)) Drawn.push_back("sel");
    }
};

struct GridTest : ::testing::Test {
    GridTest() {
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 200, 100);
        Grid->FOnSelectCell = rtl::MethodOf<&GridLog::Select>(&L);
        Grid->FOnSetEditText = rtl::MethodOf<&GridLog::SetEdit>(&L);
    }
    ~GridTest() override { delete Form; }
    void Key(uint16_t k, TShiftState s = {}) { Grid->DoKeyDown(k, s); }
    TForm* Form = new TForm(nullptr);
    TStringGrid* Grid = new TStringGrid(Form);
    GridLog L;
};

TEST_F(GridTest, SizesAndFixedCountsAreChecked) {
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->ColWidths(4), 64);
    Grid->SetColWidths(1, 30);
    try {
        Grid->SetColWidths(5, 10);
        FAIL();
    } catch (const EInvalidGridOperation& e) {
        EXPECT_STREQ(e.what(), "Grid index out of range");
    }
    EXPECT_THROW(Grid->SetFixedRows(5), EInvalidGridOperation);
    EXPECT_THROW(Grid->SetCol(9), EInvalidGridOperation);
    Grid->SetColCount(1); // fixed columns give way
    EXPECT_EQ(Grid->FixedCols(), 0);
    EXPECT_EQ(Grid->Col(), 0);
    Grid->SetColCount(3);
    EXPECT_EQ(Grid->ColWidths(2), 64);
}

TEST_F(GridTest, CellsRowsAndColumns) {
    Grid->SetCells(1, 2, "x");
    EXPECT_EQ(Grid->Cells(1, 2), "x");
    EXPECT_EQ(Grid->Cols(1)->Get(2), "x");
    Grid->Rows(0)->SetCommaText("a,b,c");
    EXPECT_EQ(Grid->Cells(2, 0), "c");
    EXPECT_EQ(Grid->Rows(0)->Count(), 5);
    EXPECT_EQ(Grid->Rows(0)->Add("d"), 3);
    EXPECT_THROW(Grid->Rows(0)->Insert(0, "no"), EInvalidGridOperation);
    EXPECT_THROW(Grid->Rows(0)->Get(5), rtl::EStringListError);
    // Beyond the grid's size cells are kept, and show once the grid grows.
    Grid->SetCells(9, 9, "far");
    EXPECT_EQ(Grid->Cells(8, 8), "");
    Grid->SetColCount(10);
    Grid->SetRowCount(10);
    EXPECT_EQ(Grid->Cols(9)->Get(9), "far");
    EXPECT_THROW(Grid->Cells(-1, 0), EInvalidGridOperation);
    TObject marker;
    Grid->SetObjects(3, 3, &marker);
    EXPECT_EQ(Grid->Rows(3)->GetObject(3), &marker);
}

TEST_F(GridTest, GeometryOfCellsAndPoints) {
    // Widths 64, lines of one pixel: column 2 starts at 2 × 65.
    EXPECT_EQ(Grid->CellRect(2, 1), (TRect{130, 25, 194, 49}));
    int c, r;
    Grid->MouseToCell(131, 26, c, r);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 1);
    Grid->MouseToCell(194, 26, c, r); // on the line after the cell: still that column
    EXPECT_EQ(c, 2);
    Grid->MouseToCell(250, 26, c, r);
    EXPECT_EQ(c, -1);
    Grid->SetOptions(Grid->Options().Exclude(TGridOption::goVertLine));
    EXPECT_EQ(Grid->CellRect(2, 1).Left, 65 + 64);
    EXPECT_EQ(Grid->VisibleColCount(), 2);
    EXPECT_EQ(Grid->VisibleRowCount(), 3);
}

TEST_F(GridTest, MovingAsksSelectCellAndScrolls) {
    Form->Show();
    Grid->SetFocus();
    L.RefuseCol = 3;
    Key(VK_RIGHT);
    Key(VK_RIGHT); // refused
    EXPECT_EQ(Grid->Col(), 2);
    L.RefuseCol = -1;
    Key(0x23 /* End */, {TShiftStateItem::ssCtrl});
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->TopRow(), 2); // three rows fit: the current one is scrolled into view
    EXPECT_GE(Grid->LeftCol(), 3);
    EXPECT_EQ(L.Events, (std::vector<std::string>{"select 2,1", "select 3,1", "select 4,4"}));

    Grid->SetCol(1);
    Grid->SetRow(1);
    Key(VK_DOWN, {TShiftStateItem::ssShift});
    Key(VK_RIGHT, {TShiftStateItem::ssShift});
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 2}));
    Grid->MouseDown(TMouseButton::mbLeft, {}, 5, 5); // a heading: no move
    EXPECT_EQ(Grid->Col(), 2);

    // Tab goes cell by cell with goTabs, otherwise on to the next control.
    auto* next = new TEdit(Form);
    next->SetParent(Form);
    Key(VK_TAB);
    EXPECT_EQ(Form->ActiveControl(), next);
    Grid->SetFocus();
    Grid->SetOptions(Grid->Options().Include(TGridOption::goTabs));
    Grid->SetCol(4);
    Key(VK_TAB);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridTest, EditorWritesThroughToCells) {
    Grid->SetCells(1, 1, "old");
    char32_t ch = U'n';
    Grid->KeyPress(ch);
    EXPECT_FALSE(Grid->EditorMode()); // no goEditing
    Grid->SetOptions(Grid->Options().Include(TGridOption::goEditing));
    uint16_t f2 = VK_F2;
    Grid->KeyDown(f2, {});
    ASSERT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Grid->EditorText(), "old");
    Grid->UserEditText("new");
    EXPECT_EQ(Grid->Cells(1, 1), "new");
    char32_t esc = 27;
    Grid->KeyPress(esc);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), "old");
    Grid->SetCol(2);
    ch = U'7';
    Grid->KeyPress(ch); // typing opens the editor on the character
    EXPECT_EQ(Grid->Cells(2, 1), "7");
    EXPECT_EQ(L.Events, (std::vector<std::string>{"edit 1,1=new", "edit 1,1=old", "select 2,1",
                                                  "edit 2,1=7"}));
    Grid->SetOptions(Grid->Options().Include(TGridOption::goRowSelect));
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 4, 1}));
    Grid->SetEditorMode(true);
    EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(GridTest, PaintDrawsFixedCellsLinesTextAndTheHandler) {
    Grid->SetColor(int(uint32_t(clWhite)));
    Grid->SetColCount(3);
    Grid->SetCells(1, 0, "Head");
    Grid->SetCells(1, 1, "Body");
    Grid->FOnDrawCell = rtl::MethodOf<&GridLog::Draw>(&L);
    const QImage& img = Grid->PaintImage();
    auto px = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(px(64, 40), 0x000000u);  // fixed column's line
    EXPECT_EQ(px(129, 40), 0xC0C0C0u); // line between scrolling columns
    EXPECT_EQ(px(30, 12), 0xC0C0C0u);  // fixed cell in the button face
    EXPECT_EQ(px(150, 60), 0x00FF00u); // the handler drew cell (2, 2)
    bool ink = false;
    for (int x = 67; x < 100; ++x)
        for (int y = 27; y < 45; ++y)
            ink = ink || px(x, y) != 0xFFFFFFu;
    EXPECT_TRUE(ink);                  // "Body"
    EXPECT_EQ(px(197, 50), 0xFFFFFFu); // beyond the last column
    EXPECT_NE(std::find(L.Drawn.begin(), L.Drawn.end(), "fixed"), L.Drawn.end());
}

} // namespace
