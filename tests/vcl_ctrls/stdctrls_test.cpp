#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

// Records events by name, in order.
struct Log : TObject {
    std::vector<std::string> Events;
    void Click(TObject* s) { Events.push_back("click " + Name(s)); }
    void Change(TObject* s) { Events.push_back("change " + Name(s)); }
    void Select(TObject* s) { Events.push_back("select " + Name(s)); }
    void DropDown(TObject* s) { Events.push_back("dropdown " + Name(s)); }
    static std::string Name(TObject* s) { return static_cast<TComponent*>(s)->Name(); }
};

struct StdFixture : ::testing::Test {
    ~StdFixture() override { delete Form; }
    template <class C> C* Make(const char* name, TWinControl* parent = nullptr) {
        auto* c = new C(Form);
        c->SetName(name);
        c->SetParent(parent ? parent : Form);
        return c;
    }
    TForm* Form = new TForm(nullptr);
    Log L;
};

TEST_F(StdFixture, MemoLinesAndTextAreOneText) {
    auto* memo = Make<TMemo>("Memo1");
    memo->Lines()->Add("one");
    memo->Lines()->Add("two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo");
    memo->SetText("a\nb\r\nc");
    ASSERT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Lines()->Get(2), "c");
    EXPECT_EQ(memo->Text(), "a\nb\r\nc");

    // The caret by line and column: a line break counts two characters, as in the window.
    memo->SetText("ab\r\ncd\r\nef");
    memo->SetSelStart(5);
    EXPECT_EQ(memo->CaretPos(), (TPoint{1, 1}));
    memo->SetCaretPos({9, 2});
    EXPECT_EQ(memo->SelStart(), 10);
    EXPECT_EQ(memo->CaretPos(), (TPoint{2, 2}));

    char32_t ret = U'\r';
    memo->SetWantReturns(false);
    memo->KeyPress(ret);
    EXPECT_EQ(ret, 0u); // left to the form's default button
}

TEST_F(StdFixture, RadioButtonsOfOneParentAreExclusive) {
    auto* group = Make<TGroupBox>("Group");
    auto* a = Make<TRadioButton>("A", group);
    auto* b = Make<TRadioButton>("B", group);
    auto* outside = Make<TRadioButton>("Outside");
    for (auto* r : {a, b, outside})
        r->FOnClick = rtl::MethodOf<&Log::Click>(&L);
    outside->SetChecked(true);
    a->SetChecked(true);
    b->ButtonClicked();
    b->ButtonClicked(); // already checked: no second click
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(outside->Checked());
    EXPECT_TRUE(b->TabStop());
    EXPECT_FALSE(a->TabStop());
    EXPECT_EQ(L.Events, (std::vector<std::string>{"click Outside", "click A", "click B"}));

    a->SetCaption("&Alpha");
    Form->Show();
    EXPECT_TRUE(Form->DialogChar(U'a'));
    EXPECT_TRUE(a->Checked());
    EXPECT_EQ(Form->ActiveControl(), a);
}

TEST_F(StdFixture, ComboBoxRunsEventsForTheUserOnly) {
    auto* combo = Make<TComboBox>("Combo");
    combo->FOnChange = rtl::MethodOf<&Log::Change>(&L);
    combo->FOnClick = rtl::MethodOf<&Log::Click>(&L);
    combo->FOnDropDown = rtl::MethodOf<&Log::DropDown>(&L);
    combo->Items()->SetCommaText("red,green,blue");

    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "green");
    combo->SetText("blue");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetText("purple");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "purple");
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(L.Events.empty());

    combo->UserSelect(0);
    combo->FOnSelect = rtl::MethodOf<&Log::Select>(&L);
    uint16_t down = VK_DOWN;
    combo->KeyDown(down, {});
    combo->UserInput("gr");
    combo->SetDroppedDown(true);
    EXPECT_EQ(combo->Text(), "gr");
    EXPECT_EQ(L.Events,
              (std::vector<std::string>{"click Combo", "change Combo", "click Combo",
                                        "select Combo", "change Combo", "dropdown Combo"}));
}

TEST_F(StdFixture, DropDownListTakesOnlyItsItems) {
    auto* combo = Make<TComboBox>("Combo");
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->Items()->SetCommaText("Alpha,Beta");
    combo->SetText("beta");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Beta");
    combo->SetText("gamma");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->UserInput("Alpha"); // no edit to type in
    EXPECT_EQ(combo->ItemIndex(), -1);

    combo->SetItemIndex(1);
    combo->Items()->Delete(0);
    EXPECT_EQ(combo->ItemIndex(), 0); // the selection follows its item
    combo->Items()->Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");

    combo->Items()->SetCommaText("b,c,a");
    combo->SetItemIndex(0);
    combo->SetSorted(true);
    EXPECT_EQ(combo->Items()->CommaText(), "a,b,c");
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(StdFixture, ListBoxSelection) {
    auto* list = Make<TListBox>("List");
    list->Items()->SetCommaText("a,b,c,d");
    list->SetItemIndex(1);
    list->SetItemIndex(2);
    EXPECT_FALSE(list->Selected(1));
    EXPECT_TRUE(list->Selected(2));
    list->SetMultiSelect(true);
    list->UserSelect(0, TShiftState{TShiftStateItem::ssCtrl});
    list->UserSelect(3, TShiftState{TShiftStateItem::ssCtrl});
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_THROW(list->Selected(4), rtl::EListError);
}

TEST_F(StdFixture, ResourcesFillListsAndSelectAfterReading) {
    ReadFormResource(Form, R"(object Form1: TForm
  object Combo: TComboBox
    Style = csDropDownList
    ItemIndex = 1
    Items.Strings = (
      '一'
      '二')
  end
  object Memo: TMemo
    WordWrap = False
    ScrollBars = ssVertical
    Lines.Strings = (
      'first'
      'second')
  end
  object R1: TRadioButton
    Checked = True
  end
  object R2: TRadioButton
    Checked = True
  end
end
)",
                     "Form1.dfm");
    auto* combo = static_cast<TComboBox*>(Form->FindComponent("Combo"));
    auto* memo = static_cast<TMemo*>(Form->FindComponent("Memo"));
    ASSERT_TRUE(combo && memo);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "二");
    EXPECT_EQ(memo->Text(), "first\r\nsecond");
    EXPECT_EQ(memo->ScrollBars(), TScrollStyle::ssVertical);
    EXPECT_FALSE(static_cast<TRadioButton*>(Form->FindComponent("R1"))->Checked());
    EXPECT_TRUE(static_cast<TRadioButton*>(Form->FindComponent("R2"))->Checked());
}

} // namespace
