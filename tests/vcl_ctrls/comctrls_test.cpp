#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/FormParser.h"
#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

struct ListLog : TObject {
    std::vector<std::string> Events;
    bool AllowState = true, AllowEdit = true;
    static std::string Cap(TListItem* i) { return i ? i->Caption() : "nil"; }
    void Changing(TObject*, TListItem* i, TItemChange c, bool& allow) {
        Events.push_back("changing " + Cap(i) + " " + std::to_string(int(c)));
        if (c == TItemChange::ctState) allow = AllowState;
    }
    void Change(TObject*, TListItem* i, TItemChange c) {
        Events.push_back("change " + Cap(i) + " " + std::to_string(int(c)));
    }
    void SelectItem(TObject*, TListItem* i, bool sel) {
        Events.push_back(std::string(sel ? "select " : "unselect ") + Cap(i));
    }
    void Editing(TObject*, TListItem*, bool& allow) { allow = AllowEdit; }
    void Edited(TObject*, TListItem*, std::string& s) { s = "[" + s + "]"; }
    void Column(TObject*, TListColumn* c) { Events.push_back("column " + c->Caption()); }
    void Compare(TObject*, TListItem* a, TListItem* b, int, int& r) {
        // By the first sub-item, as numbers.
        r = std::stoi(a->SubItems()->Get(0)) - std::stoi(b->SubItems()->Get(0));
    }
};

struct ListViewTest : ::testing::Test {
    ListViewTest() {
        List->SetParent(Form);
        for (const char* c : {"b", "a", "c"})
            List->Items()->Add()->SetCaption(c);
        List->FOnChanging = rtl::MethodOf<&ListLog::Changing>(&L);
        List->FOnChange = rtl::MethodOf<&ListLog::Change>(&L);
        List->FOnSelectItem = rtl::MethodOf<&ListLog::SelectItem>(&L);
    }
    ~ListViewTest() override { delete Form; }
    TListItem* Item(int i) { return List->Items()->Item(i); }
    std::string Captions() {
        std::string s;
        for (int i = 0; i < List->Items()->Count(); ++i)
            s += Item(i)->Caption();
        return s;
    }
    TForm* Form = new TForm(nullptr);
    TListView* List = new TListView(Form);
    ListLog L;
};

TEST_F(ListViewTest, SingleSelectionTellsOfEachChange) {
    Item(0)->SetSelected(true);
    L.Events.clear();
    List->UserClick(2);
    // The old item lets go first, as the list window does.
    EXPECT_EQ(L.Events, (std::vector<std::string>{"changing b 2", "change b 2", "unselect b",
                                                  "changing c 2", "change c 2", "select c"}));
    EXPECT_EQ(List->Selected(), Item(2));
    EXPECT_EQ(List->ItemFocused(), Item(2));
    EXPECT_EQ(List->SelCount(), 1);

    // A refused change of state leaves everything as it was.
    L.AllowState = false;
    List->UserClick(0);
    EXPECT_EQ(List->Selected(), Item(2));
    L.AllowState = true;
    List->UserClick(-1);
    EXPECT_EQ(List->Selected(), nullptr);
}

TEST_F(ListViewTest, MultiSelectWithCtrlAndShift) {
    List->SetMultiSelect(true);
    List->Items()->Add()->SetCaption("d");
    List->UserClick(1);
    List->UserClick(3, TShiftState{TShiftStateItem::ssShift});
    EXPECT_EQ(List->SelCount(), 3);
    EXPECT_FALSE(Item(0)->Selected());
    List->UserClick(2, TShiftState{TShiftStateItem::ssCtrl});
    EXPECT_EQ(List->SelCount(), 2);
    EXPECT_EQ(List->GetNextItem(Item(1), TItemStates{TItemState::isSelected}), Item(3));
    List->SetMultiSelect(false);
    EXPECT_EQ(List->SelCount(), 1);
    EXPECT_EQ(List->Selected(), Item(1));
    uint16_t down = VK_DOWN;
    List->ItemFocused()->SetFocused(true);
    List->SetItemFocused(Item(1));
    List->KeyDown(down, {});
    EXPECT_EQ(List->Selected(), Item(2));
}

TEST_F(ListViewTest, SortingByCaptionsAndByCompare) {
    List->SetSortType(TSortType::stText);
    EXPECT_EQ(Captions(), "abc");
    List->Items()->Add()->SetCaption("B");
    Item(0)->SetCaption("z");
    EXPECT_EQ(Captions(), "bBcz");

    List->SetSortType(TSortType::stNone);
    const char* nums[] = {"10", "9", "100", "1"};
    for (int i = 0; i < 4; ++i)
        Item(i)->SubItems()->Add(nums[i]);
    List->FOnCompare = rtl::MethodOf<&ListLog::Compare>(&L);
    List->AlphaSort();
    EXPECT_EQ(Captions(), "zBbc");
    List->CustomSort([](TListItem* a, TListItem* b,
                        int dir) { return dir * a->Caption().compare(b->Caption()); },
                     -1);
    EXPECT_EQ(Captions(), "zcbB");
}

TEST_F(ListViewTest, InPlaceEditingAsksAndLetsTheHandlerChangeTheText) {
    List->FOnEditing = rtl::MethodOf<&ListLog::Editing>(&L);
    List->FOnEdited = rtl::MethodOf<&ListLog::Edited>(&L);
    ASSERT_TRUE(Item(1)->EditCaption());
    EXPECT_EQ(List->ItemEditing(), Item(1));
    L.Events.clear();
    List->EndEditCaption("new");
    EXPECT_EQ(Item(1)->Caption(), "[new]");
    EXPECT_EQ(L.Events, (std::vector<std::string>{"change [new] 0"}));
    EXPECT_FALSE(List->IsEditing());

    L.AllowEdit = false;
    EXPECT_FALSE(Item(0)->EditCaption());
    L.AllowEdit = true;
    List->SetReadOnly(true);
    EXPECT_FALSE(Item(0)->EditCaption());
    List->SetReadOnly(false);
    // An item deleted while edited ends the edit.
    ASSERT_TRUE(Item(0)->EditCaption());
    Item(0)->Delete();
    EXPECT_FALSE(List->IsEditing());
    List->EndEditCaption("ignored");
    EXPECT_EQ(Captions(), "[new]c");
}

TEST_F(ListViewTest, ItemsAssignCopiesAndBadIndexesRaise) {
    Item(0)->SubItems()->Add("x");
    Item(0)->SetChecked(true);
    TListView other(nullptr);
    other.Items()->Assign(List->Items());
    ASSERT_EQ(other.Items()->Count(), 3);
    EXPECT_EQ(other.Items()->Item(0)->SubItems()->Get(0), "x");
    EXPECT_TRUE(other.Items()->Item(0)->Checked());
    try {
        List->Items()->Item(5);
        FAIL();
    } catch (const rtl::EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
    EXPECT_THROW(List->Columns()->GetItem(0), rtl::EListError);
}

TEST_F(ListViewTest, ColumnsFromAResourceCollection) {
    ReadFormResource(Form, R"(object Form1: TForm
  object LV: TListView
    ViewStyle = vsReport
    RowSelect = True
    ShowColumnHeaders = False
    Columns = <
      item
        Caption = '代码'
        Width = 80
      end
      item
        Alignment = taRightJustify
        Caption = 'Amount'
      end>
  end
end
)",
                     "Form1.dfm");
    auto* lv = static_cast<TListView*>(Form->FindComponent("LV"));
    ASSERT_TRUE(lv);
    ASSERT_EQ(lv->Columns()->Count(), 2);
    EXPECT_EQ(lv->Column(0)->Caption(), "代码");
    EXPECT_EQ(lv->Column(0)->Width(), 80);
    EXPECT_EQ(lv->Column(1)->Width(), 50);
    EXPECT_EQ(lv->Column(1)->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(lv->Column(1)->GetNamePath(), "LV.Columns[1]");
    EXPECT_FALSE(lv->ShowColumnHeaders());

    lv->FOnColumnClick = rtl::MethodOf<&ListLog::Column>(&L);
    lv->UserColumnClick(1);
    lv->SetColumnClick(false);
    lv->UserColumnClick(0);
    EXPECT_EQ(L.Events, (std::vector<std::string>{"column Amount"}));
}

TEST(FormCollections, UnknownItemPropertyNamesItsPlace) {
    TForm form(nullptr);
    try {
        ReadFormResource(&form,
                         "object F: TForm\n  object LV: TListView\n    Columns = <\n"
                         "      item\n        Bogus = 1\n      end>\n  end\nend\n",
                         "F.dfm");
        FAIL();
    } catch (const EFormParseError& e) {
        EXPECT_EQ(e.Line, 5);
        EXPECT_NE(std::string(e.what()).find("Bogus"), std::string::npos);
    }
}

// ---- Page control --------------------------------------------------------------------------

struct PageLog : TObject {
    std::vector<std::string> Events;
    bool Allow = true;
    void Changing(TObject*, bool& allow) {
        Events.push_back("changing");
        allow = Allow;
    }
    void Change(TObject*) { Events.push_back("change"); }
    void Show(TObject* s) { Events.push_back("show " + static_cast<TComponent*>(s)->Name()); }
    void Hide(TObject* s) { Events.push_back("hide " + static_cast<TComponent*>(s)->Name()); }
    std::vector<std::string> Drawn;
    void DrawTab(TCustomTabControl* c, int tab, const TRect& r, bool active) {
        Drawn.push_back(std::to_string(tab) + (active ? "*" : ""));
        c->Canvas()->Brush()->SetColor(active ? clRed : clBlue);
        c->Canvas()->FillRect(r);
    }
};

struct PageControlTest : ::testing::Test {
    PageControlTest() {
        Pages->SetParent(Form);
        Pages->SetBounds(0, 0, 300, 200);
        for (const char* n : {"P0", "P1", "P2", "P3"}) {
            auto* p = new TTabSheet(Form);
            p->SetName(n);
            p->SetCaption(std::string("Page ") + n);
            p->SetPageControl(Pages);
            p->FOnShow = rtl::MethodOf<&PageLog::Show>(&L);
            p->FOnHide = rtl::MethodOf<&PageLog::Hide>(&L);
        }
        Pages->FOnChanging = rtl::MethodOf<&PageLog::Changing>(&L);
        Pages->FOnChange = rtl::MethodOf<&PageLog::Change>(&L);
    }
    ~PageControlTest() override { delete Form; }
    TTabSheet* Page(int i) { return Pages->Pages(i); }
    TForm* Form = new TForm(nullptr);
    TPageControl* Pages = new TPageControl(Form);
    PageLog L;
};

TEST_F(PageControlTest, CodeSwitchesQuietlyTheUserAsksFirst) {
    Pages->SetActivePageIndex(0);
    EXPECT_TRUE(Page(0)->Visible());
    EXPECT_FALSE(Page(1)->Visible());
    EXPECT_EQ(L.Events, (std::vector<std::string>{"show P0"}));
    L.Events.clear();

    TRect tab1 = Pages->TabRect(1);
    Pages->MouseDown(TMouseButton::mbLeft, {}, tab1.Left + 2, tab1.Top + 2);
    EXPECT_EQ(Pages->ActivePage(), Page(1));
    EXPECT_EQ(L.Events, (std::vector<std::string>{"changing", "show P1", "hide P0", "change"}));

    L.Allow = false;
    L.Events.clear();
    Pages->SelectNextPage(true);
    EXPECT_EQ(Pages->ActivePage(), Page(1));
    EXPECT_EQ(L.Events, (std::vector<std::string>{"changing"}));
    L.Allow = true;
    Pages->SetActivePageIndex(9);
    EXPECT_EQ(Pages->ActivePage(), nullptr);
    TTabSheet stranger(nullptr);
    Pages->SetActivePage(&stranger);
    EXPECT_EQ(Pages->ActivePage(), nullptr);
}

TEST_F(PageControlTest, HiddenTabsAreSkippedAndMapped) {
    Page(1)->SetTabVisible(false);
    EXPECT_EQ(Pages->TabCount(), 3);
    EXPECT_EQ(Page(2)->TabIndex(), 1);
    EXPECT_EQ(Page(1)->TabIndex(), -1);
    EXPECT_EQ(Pages->PageForTab(1), Page(2));
    EXPECT_EQ(Pages->TabCaption(1), "Page P2");
    EXPECT_EQ(Pages->FindNextPage(Page(0), true, true), Page(2));
    EXPECT_EQ(Pages->FindNextPage(Page(0), true, false), Page(1));
    EXPECT_EQ(Pages->FindNextPage(Page(0), false, true), Page(3));
    EXPECT_EQ(Pages->FindNextPage(nullptr, true, true), Page(0));

    // The shown page losing its tab hands over to the next tab.
    Pages->SetActivePage(Page(3));
    Page(3)->SetTabVisible(false);
    EXPECT_EQ(Pages->ActivePage(), Page(0));
    // A page freed while shown does the same.
    Pages->SetActivePage(Page(2));
    delete Page(2);
    EXPECT_EQ(Pages->PageCount(), 3);
    EXPECT_EQ(Pages->ActivePage(), Page(0));
}

TEST_F(PageControlTest, TabsFromCaptionsAndOwnerDrawing) {
    Pages->SetActivePageIndex(1);
    TRect r0 = Pages->TabRect(0), r1 = Pages->TabRect(1);
    EXPECT_EQ(r0.Left, 2);
    EXPECT_EQ(r1.Left, r0.Right);
    EXPECT_EQ(r0.Top, 2);
    EXPECT_GT(r0.Width(), 12);
    EXPECT_EQ(Pages->DisplayRect().Top, r0.Bottom + 4);
    EXPECT_EQ(Page(1)->Top(), Pages->DisplayRect().Top);
    EXPECT_EQ(Pages->IndexOfTabAt(r1.Left + 1, r1.Top + 1), 1);
    EXPECT_EQ(Pages->IndexOfTabAt(r1.Left + 1, r1.Bottom + 1), -1);
    // A longer caption widens its tab and moves the ones after it.
    Page(0)->SetCaption("A much longer caption");
    EXPECT_GT(Pages->TabRect(1).Left, r1.Left);
    Pages->SetTabWidth(60);
    EXPECT_EQ(Pages->TabRect(2), (TRect{122, 2, 182, r0.Bottom}));

    Pages->SetOwnerDraw(true);
    Pages->FOnDrawTab = rtl::MethodOf<&PageLog::DrawTab>(&L);
    const QImage& img = Pages->PaintImage();
    EXPECT_EQ(L.Drawn, (std::vector<std::string>{"0", "2", "3", "1*"}));
    TRect a = Pages->TabDrawRect(1), b = Pages->TabRect(2);
    EXPECT_EQ(a.Left, Pages->TabRect(1).Left - 2);
    EXPECT_EQ(img.pixel(a.Left + 3, a.Top + 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(b.Left + 5, b.Top + 5) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(PageControlTest, ResourcePagesAndActivePage) {
    TForm* form = new TForm(nullptr);
    ReadFormResource(form, R"(object F: TForm
  object PC: TPageControl
    Width = 300
    Height = 200
    ActivePage = Two
    object One: TTabSheet
      Caption = '一'
    end
    object Two: TTabSheet
      Caption = '二'
      object E: TEdit
      end
    end
  end
end
)",
                     "F.dfm");
    auto* pc = static_cast<TPageControl*>(form->FindComponent("PC"));
    ASSERT_TRUE(pc);
    ASSERT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    EXPECT_TRUE(pc->Pages(1)->Visible());
    EXPECT_FALSE(pc->Pages(0)->Visible());
    EXPECT_EQ(pc->Pages(0)->Width(), pc->DisplayRect().Width());
    delete form;
}

// ---- Tool and status bars ------------------------------------------------------------------

TEST(ToolBar, ButtonsInARowAndGroupedChecks) {
    TForm form(nullptr);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    std::vector<TToolButton*> b;
    for (int i = 0; i < 4; ++i) {
        b.push_back(new TToolButton(&form));
        b.back()->SetParent(bar);
    }
    b[1]->SetStyle(TToolButtonStyle::tbsSeparator);
    EXPECT_EQ(b[2]->Left(), 23 + 8);
    b[2]->SetStyle(TToolButtonStyle::tbsCheck);
    b[3]->SetStyle(TToolButtonStyle::tbsCheck);
    b[2]->SetGrouped(true);
    b[3]->SetGrouped(true);
    b[2]->Click();
    b[3]->Click();
    EXPECT_FALSE(b[2]->Down());
    EXPECT_TRUE(b[3]->Down());
    b[3]->Click(); // the last one down stays down
    EXPECT_TRUE(b[3]->Down());
    b[3]->SetAllowAllUp(true);
    b[3]->Click();
    EXPECT_FALSE(b[3]->Down());
}

TEST(ToolBar, DropDownMenuOpensUnderTheButtonAndReferencesClear) {
    TForm form(nullptr);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    bar->SetBounds(10, 20, 200, 29);
    auto* spacer = new TToolButton(&form);
    spacer->SetParent(bar);
    auto* button = new TToolButton(&form);
    button->SetParent(bar);
    button->SetStyle(TToolButtonStyle::tbsDropDown);
    auto* menu = new TPopupMenu(&form);
    auto* item = new TMenuItem(&form);
    menu->Items()->Add(item);
    button->SetDropdownMenu(menu);
    TPoint at;
    SetPopupHandler([&](TPopupMenu& m, int x, int y) {
        at = {x, y};
        return m.Items()->Items(0);
    });
    item->SetAutoCheck(true);
    button->MouseDown(TMouseButton::mbLeft, {}, 2, 2); // the face, not the arrow
    EXPECT_FALSE(item->Checked());
    button->MouseDown(TMouseButton::mbLeft, {}, button->Width() - 2, 2);
    SetPopupHandler(nullptr);
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(at, (TPoint{10 + 23, 20 + 22}));
    EXPECT_EQ(menu->PopupComponent(), button);

    auto* images = new TComponent(&form);
    auto* list = new TListView(&form);
    bar->SetImages(images);
    list->SetLargeImages(images);
    images->Free();
    EXPECT_EQ(bar->Images(), nullptr);
    EXPECT_EQ(list->LargeImages(), nullptr);
    menu->Free();
    EXPECT_EQ(button->DropdownMenu(), nullptr);
    EXPECT_FALSE(button->CheckMenuDropdown());
}

TEST(StatusBar, PanelsFromAResourceAndPainted) {
    TForm form(nullptr);
    ReadFormResource(&form, R"(object F: TForm
  object SB: TStatusBar
    Width = 300
    Height = 20
    Panels = <
      item
        Text = 'Ready'
        Width = 100
      end
      item
        Bevel = pbNone
      end>
  end
end
)",
                     "F.dfm");
    auto* sb = static_cast<TStatusBar*>(form.FindComponent("SB"));
    ASSERT_TRUE(sb);
    ASSERT_EQ(sb->Panels()->Count(), 2);
    EXPECT_EQ(sb->PanelRect(0), (TRect{0, 2, 100, 20}));
    EXPECT_EQ(sb->PanelRect(1), (TRect{102, 2, 300, 20}));
    sb->SetColor(int(uint32_t(clWhite)));
    const QImage& img = sb->PaintImage();
    // Lowered bevel: shadow on the left edge of the first panel; text somewhere inside it.
    EXPECT_EQ(img.pixel(0, 10) & 0xFFFFFF, 0x808080u);
    bool ink = false;
    for (int x = 3; x < 97; ++x)
        for (int y = 4; y < 18; ++y)
            ink = ink || (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFFu;
    EXPECT_TRUE(ink);
}

} // namespace
