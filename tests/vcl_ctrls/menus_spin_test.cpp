#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Spin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

struct Clicks : TObject {
    std::vector<std::string> Names;
    void Click(TObject* s) { Names.push_back(static_cast<TComponent*>(s)->Name()); }
};

TEST(ShortCuts, TextRoundTrip) {
    struct Case {
        uint16_t key;
        TShiftState shift;
        const char* text;
    } cases[] = {
        {'S', {TShiftStateItem::ssCtrl}, "Ctrl+S"},
        {0x74, {TShiftStateItem::ssShift}, "Shift+F5"},
        {VK_DELETE, {TShiftStateItem::ssAlt}, "Alt+Del"},
        {VK_RETURN, {TShiftStateItem::ssShift, TShiftStateItem::ssCtrl}, "Shift+Ctrl+Enter"},
        {'7', {}, "7"},
    };
    for (const Case& c : cases) {
        TShortCut s = ShortCut(c.key, c.shift);
        EXPECT_EQ(ShortCutToText(s), c.text);
        EXPECT_EQ(TextToShortCut(c.text), s);
    }
    EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', {TShiftStateItem::ssCtrl}));
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
    EXPECT_EQ(ShortCutToText(ShortCut(0x07, {})), "");
    uint16_t key;
    TShiftState shift;
    ShortCutToKey(16467, key, shift); // as a resource stores Ctrl+S
    EXPECT_EQ(key, 'S');
    EXPECT_TRUE(shift.Contains(TShiftStateItem::ssCtrl));
    EXPECT_EQ(StripHotkey("&File && more"), "File & more");
}

TEST(Menus, ResourceBuildsTheTreeAndRadioItemsAreExclusive) {
    TForm form(nullptr);
    ReadFormResource(&form, R"(object F: TForm
  object Popup: TPopupMenu
    object Small: TMenuItem
      Caption = '&Small'
      RadioItem = True
      GroupIndex = 1
      Checked = True
    end
    object Large: TMenuItem
      Caption = '&Large'
      RadioItem = True
      GroupIndex = 1
      AutoCheck = True
    end
    object Sep: TMenuItem
      Caption = '-'
    end
    object More: TMenuItem
      Caption = 'More'
      object Save: TMenuItem
        Caption = '&Save'
        ShortCut = 16467
      end
    end
  end
end
)",
                     "F.dfm");
    auto* popup = static_cast<TPopupMenu*>(form.FindComponent("Popup"));
    ASSERT_TRUE(popup);
    TMenuItem* root = popup->Items();
    ASSERT_EQ(root->Count(), 4);
    auto* small = root->Items(0);
    auto* large = root->Items(1);
    auto* save = root->Find("more")->Find("Save");
    ASSERT_TRUE(save);
    EXPECT_TRUE(root->Items(2)->IsLine());
    EXPECT_EQ(save->GetParentMenu(), popup);
    EXPECT_EQ(ShortCutToText(save->ShortCut()), "Ctrl+S");

    Clicks log;
    for (auto* item : {small, large, save})
        item->FOnClick = rtl::MethodOf<&Clicks::Click>(&log);
    large->Click(); // AutoCheck on a radio item checks it
    EXPECT_TRUE(large->Checked());
    EXPECT_FALSE(small->Checked());
    EXPECT_TRUE(popup->IsShortCut('S', {TShiftStateItem::ssCtrl}));
    save->SetEnabled(false);
    EXPECT_FALSE(popup->IsShortCut('S', {TShiftStateItem::ssCtrl}));
    save->Click();
    EXPECT_EQ(log.Names, (std::vector<std::string>{"Large", "Save"}));
    EXPECT_EQ(root->FindAccel(U's'), small);
    EXPECT_THROW(root->Items(9), EMenuError);
    EXPECT_THROW(root->Add(save), EMenuError); // already in a menu
}

TEST(Menus, PopupThroughTheHandlerClicksTheChosenItem) {
    TForm form(nullptr);
    auto* popup = new TPopupMenu(&form);
    auto* item = new TMenuItem(&form);
    item->SetName("Copy");
    popup->Items()->Add(item);
    Clicks log;
    item->FOnClick = rtl::MethodOf<&Clicks::Click>(&log);
    auto* edit = new TWinControl(&form);
    edit->SetParent(&form);
    edit->SetPopupMenu(popup);
    int seenX = 0;
    SetPopupHandler([&](TPopupMenu& m, int x, int) {
        seenX = x;
        return m.Items()->Items(0);
    });
    EXPECT_TRUE(ShowControlPopup(*edit, 40, 50));
    EXPECT_EQ(seenX, 40);
    EXPECT_EQ(popup->PopupComponent(), edit);
    EXPECT_EQ(log.Names, (std::vector<std::string>{"Copy"}));
    SetPopupHandler(nullptr);
    popup->Popup(1, 1); // headless: nothing chosen
    EXPECT_EQ(log.Names.size(), 1u);
    // Freeing an item takes it out of its menu.
    item->Free();
    EXPECT_EQ(popup->Items()->Count(), 0);
}

TEST(SpinEdit, ValueWithinBoundsAndSteps) {
    TForm form(nullptr);
    auto* spin = new TSpinEdit(&form);
    spin->SetParent(&form);
    EXPECT_EQ(spin->Text(), "0");
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    spin->SetValue(42);
    EXPECT_EQ(spin->Text(), "10");
    spin->UpClick();
    EXPECT_EQ(spin->Value(), 10);
    uint16_t down = VK_DOWN;
    spin->KeyDown(down, {});
    EXPECT_EQ(spin->Value(), 9);
    spin->SetText("abc");
    EXPECT_EQ(spin->Value(), 1); // no number reads as MinValue
    spin->SetText(" +7 ");
    EXPECT_EQ(spin->Value(), 7);
    spin->SetReadOnly(true);
    spin->UpClick();
    EXPECT_EQ(spin->Value(), 7);

    // Equal bounds mean no bounds; stepping stops at the largest number.
    spin->SetReadOnly(false);
    spin->SetMinValue(0);
    spin->SetMaxValue(0);
    spin->SetValue(2147483647);
    spin->UpClick();
    EXPECT_EQ(spin->Value(), 2147483647);

    for (char32_t ok : {U'5', U'-', U'+', char32_t(8)})
        EXPECT_TRUE(spin->IsValidChar(ok));
    for (char32_t bad : {U'a', U' ', U'\r'})
        EXPECT_FALSE(spin->IsValidChar(bad));
    spin->SetEditorEnabled(false);
    EXPECT_FALSE(spin->IsValidChar(U'5'));
}

} // namespace
