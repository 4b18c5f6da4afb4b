#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Mask.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

struct MaskEditTest : ::testing::Test {
    MaskEditTest() {
        Edit->SetParent(Form);
        Other->SetParent(Form);
        Form->Show();
    }
    ~MaskEditTest() override { delete Form; }
    void Type(const char32_t* keys) {
        for (; *keys; ++keys) {
            char32_t k = *keys;
            Edit->DoKeyPress(k);
        }
    }
    TForm* Form = new TForm(nullptr);
    TMaskEdit* Edit = new TMaskEdit(Form);
    TEdit* Other = new TEdit(Form);
};

TEST_F(MaskEditTest, TextAndEditTextFollowTheMaskFields) {
    struct Case {
        const char* mask;
        const char* text;
        const char* editText;
        const char* textBack;
    } cases[] = {
        {"9999/99/99;1;_", "2004/05/01", "2004/05/01", "2004/05/01"},
        {"9999/99/99;0;_", "20040501", "2004/05/01", "20040501"},
        {"9999/99/99;1; ", "", "    /  /  ", "    /  /  "},
        {"9999/99/99;0;_", "2004", "2004/__/__", "2004"},
        {"", "free text", "free text", "free text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        Edit->SetEditMask(c.mask);
        Edit->SetText(c.text);
        EXPECT_EQ(Edit->EditText(), c.editText);
        EXPECT_EQ(Edit->Text(), c.textBack);
        // The window (and any code reading the control's text) shows the edit text.
        EXPECT_EQ(static_cast<TControl*>(Edit)->Text(), c.editText);
        EXPECT_EQ(rtl::GetStrProp(Edit, "Text"), c.textBack);
    }
}

TEST_F(MaskEditTest, ChangingTheMaskCarriesTheTypedCharacters) {
    Edit->SetText("20040501");
    Edit->SetEditMask("9999/99/99;1;_");
    EXPECT_EQ(Edit->EditText(), "2004/05/01");
    Edit->SetEditMask("99/99/9999;0;_");
    EXPECT_EQ(Edit->EditText(), "20/04/0501");
    // The empty-mask text is what a cleared edit shows under the mask.
    Edit->SetEditMask("9999/99/99;0; ");
    Edit->SetText("");
    Edit->SetEditMask("9999/99/99;1; ");
    EXPECT_EQ(Edit->Text(), "    /  /  ");
    Edit->SetEditMask("");
    EXPECT_EQ(Edit->Text(), "    /  /  ");
    EXPECT_FALSE(Edit->IsMasked());
}

TEST_F(MaskEditTest, TypingGoesThroughTheMask) {
    Edit->SetEditMask(">LL-0000;1;_");
    int changes = 0;
    struct Counter : TObject {
        int* N;
        void Changed(TObject*) { ++*N; }
    } counter;
    counter.N = &changes;
    Edit->FOnChange = rtl::MethodOf<&Counter::Changed>(&counter);
    Edit->SetFocus();
    Type(U"ab1x23");
    EXPECT_EQ(Edit->EditText(), "AB-123_");
    EXPECT_EQ(Edit->SelStart(), 6);
    EXPECT_EQ(changes, 5); // the refused "x" changed nothing
    char32_t back = 8;
    Edit->DoKeyPress(back);
    EXPECT_EQ(Edit->EditText(), "AB-12__");
    uint16_t left = VK_LEFT, del = VK_DELETE;
    Edit->DoKeyDown(left, {});
    Edit->DoKeyDown(del, {});
    EXPECT_EQ(Edit->EditText(), "AB-1___");
    // Escape gives back the text the edit had when entered.
    char32_t esc = 27;
    Edit->DoKeyPress(esc);
    EXPECT_EQ(Edit->EditText(), "__-____");
    EXPECT_FALSE(Edit->Modified());

    Edit->SetReadOnly(true);
    Type(U"CD");
    EXPECT_EQ(Edit->EditText(), "__-____");
}

TEST_F(MaskEditTest, LeavingAnIncompleteEditRaisesAndKeepsTheFocus) {
    Edit->SetEditMask("9999/00/00;1;_");
    Edit->SetFocus();
    Type(U"2004/05");
    EXPECT_THROW(
        {
            try {
                Other->SetFocus();
            } catch (const EDBEditError& e) {
                EXPECT_STREQ(e.what(), SMaskEditErr);
                EXPECT_EQ(e.Position, 8);
                throw;
            }
        },
        EDBEditError);
    EXPECT_EQ(Form->ActiveControl(), Edit);
    EXPECT_EQ(Edit->SelStart(), 8);
    // Still modified: the next attempt is checked again.
    EXPECT_THROW(Other->SetFocus(), EDBEditError);
    Type(U"01");
    Other->SetFocus();
    EXPECT_EQ(Form->ActiveControl(), Other);
    EXPECT_EQ(Edit->Text(), "2004/05/01");
}

TEST_F(MaskEditTest, TextSetByCodeIsNotValidatedOnExit) {
    // As in the VCL, only the user's changes are checked.
    Edit->SetEditMask("0000;1;_");
    Edit->SetFocus();
    Edit->SetText("12");
    Other->SetFocus();
    EXPECT_EQ(Form->ActiveControl(), Other);
}

TEST_F(MaskEditTest, ResourceSetsMaskBeforeText) {
    auto* form = new TForm(nullptr);
    ReadFormResource(form, R"(object F: TForm
  object Date1: TMaskEdit
    EditMask = '9999/99/99;1;_'
    Text = '2004/05/01'
  end
end
)",
                     "F.dfm");
    auto* e = static_cast<TMaskEdit*>(form->FindComponent("Date1"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->EditText(), "2004/05/01");
    EXPECT_EQ(e->MaxLength(), 10);
    delete form;
}

} // namespace
