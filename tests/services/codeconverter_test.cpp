#include "services/CodeConverter.h"
#include "services/TranslatorU.h"

#include "tests/services/Installation.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

using testing_support::EnvGuard;
using testing_support::TempDir;

namespace {

demo::TDemoOptions Pages(const std::string& ui, const std::string& db) {
    demo::TDemoOptions o;
    o.UICodePage = ui;
    o.DBCodePage = db;
    return o;
}

// An installation with the given code pages and the language library on the library path.
struct ConverterEnv {
    ConverterEnv(const std::string& ui, const std::string& db, const std::string& acp = "936")
        : Inst(Pages(ui, db), acp) {}
    TestInstallation Inst;
    EnvGuard LibPath{"ORVANE_LIBRARY_PATH", KTLANGUAGE_DIR};
};

struct Scripted {
    vcl::TScriptedResponder* R;
    Scripted() {
        auto r = std::make_unique<vcl::TScriptedResponder>();
        R = r.get();
        vcl::SetInteraction(std::move(r));
    }
    ~Scripted() { vcl::SetInteraction(nullptr); }
};

// A form with one of each kind of text the converter touches.
struct SampleForm {
    SampleForm() {
        Form = vcl::Create<vcl::TForm>(nullptr);
        Form->SetCaption("坏账冲销");
        Form->SetHint("客户说明");
        Label = vcl::Create<vcl::TLabel>(Form);
        Label->SetCaption("业务员");
        Label->SetHint("部门");
        Edit = vcl::Create<vcl::TEdit>(Form);
        Edit->SetText("客户");
        Combo = vcl::Create<vcl::TComboBox>(Form);
        Combo->Items()->SetText("币别\r\n金额\r\n说明");
        Combo->SetItemIndex(1);
        Memo = vcl::Create<vcl::TMemo>(Form);
        Memo->Lines()->SetText("应收\r\n冲销");
        List = vcl::Create<vcl::TListView>(Form);
        List->Columns()->Add()->SetCaption("方案名称");
        vcl::TListItem* item = List->Items()->Add();
        item->SetCaption("审核");
        item->SubItems()->Add("查询");
        Status = vcl::Create<vcl::TStatusBar>(Form);
        Status->Panels()->Add()->SetText("处理完毕");
        Grid = vcl::Create<vcl::TStringGrid>(Form);
        Grid->SetCells(1, 1, "核销");
    }
    ~SampleForm() { Form->Free(); }
    vcl::TForm* Form;
    vcl::TLabel* Label;
    vcl::TEdit* Edit;
    vcl::TComboBox* Combo;
    vcl::TMemo* Memo;
    vcl::TListView* List;
    vcl::TStatusBar* Status;
    vcl::TStringGrid* Grid;
};

TEST(CodeConverter, WithoutConversionModesEverythingPassesAndNoLibraryIsLoaded) {
    TestInstallation inst(Pages("936", "936"));
    TempDir empty;
    EnvGuard nowhere("ORVANE_LIBRARY_PATH", empty.Path()); // a load would fail
    SampleForm f;
    auto* cv = vcl::Create<TCodeConverter>(f.Form);
    EXPECT_EQ(cv->UIConvertMode(), 0);
    EXPECT_EQ(cv->DBConvertMode(), 0);
    EXPECT_EQ(cv->Translator(), nullptr);
    EXPECT_EQ(cv->SystemCodePage(), "936");
    const ole::Variant arr = ole::VarArrayOf({"客户", 12});
    for (const ole::Variant& v :
         {ole::Variant("客户"), arr, ole::Variant(), ole::Variant::Null()}) {
        EXPECT_EQ(cv->ToUIText(v), v);
        EXPECT_EQ(cv->FromUIText(v), v);
        EXPECT_EQ(cv->ToDBText(v), v);
        EXPECT_EQ(cv->FromDBText(v), v);
        EXPECT_EQ(cv->ConvertText(2, v), v);
    }
    EXPECT_EQ(cv->GbToBig5("客户"), "客户");
    const int charset = f.Label->Font()->GetCharset();
    cv->ConvertForm(f.Form, true);
    EXPECT_EQ(f.Label->Caption(), "业务员");
    EXPECT_EQ(f.Label->Font()->GetCharset(), charset);
    EXPECT_EQ(f.Combo->Items()->Get(0), "币别");
}

TEST(CodeConverter, TheTraditionalInterfaceConvertsTheFormsTextsAndFonts) {
    ConverterEnv env("950", "950");
    SampleForm f;
    auto* cv = vcl::Create<TCodeConverter>(f.Form);
    ASSERT_EQ(cv->UIConvertMode(), 2);
    ASSERT_NE(cv->Translator(), nullptr);
    cv->ConvertForm(f.Form, false);
    EXPECT_EQ(f.Form->Caption(), "坏账冲销") << "the caption waits for a traditional system";
    EXPECT_EQ(f.Form->Hint(), "客戶說明");
    EXPECT_EQ(f.Label->Caption(), "業務員");
    EXPECT_EQ(f.Label->Hint(), "部門");
    EXPECT_EQ(f.Label->Font()->GetName(), "SimSun");
    EXPECT_EQ(f.Label->Font()->GetCharset(), 136);
    EXPECT_EQ(f.Edit->Text(), "客户") << "entered texts are data, not captions";
    EXPECT_EQ(f.Combo->Items()->Text(), "幣別\r\n金額\r\n說明\r\n");
    EXPECT_EQ(f.Combo->ItemIndex(), 1);
    EXPECT_EQ(f.Memo->Lines()->Text(), "應收\r\n沖銷\r\n");
    EXPECT_EQ(f.List->Columns()->Items(0)->Caption(), "方案名稱");
    EXPECT_EQ(f.List->Items()->Item(0)->Caption(), "審核");
    EXPECT_EQ(f.List->Items()->Item(0)->SubItems()->Get(0), "查詢");
    EXPECT_EQ(f.Status->Panels()->Items(0)->Text(), "處理完畢");
    EXPECT_EQ(f.Grid->Cells(1, 1), "核销") << "grid cells only when deep";
    cv->ConvertForm(f.Form, true);
    EXPECT_EQ(f.Grid->Cells(1, 1), "核銷");
}

TEST(CodeConverter, OnATraditionalSystemTheFormCaptionIsConvertedToo) {
    ConverterEnv env("950", "950", "950");
    SampleForm f;
    auto* cv = vcl::Create<TCodeConverter>(f.Form);
    EXPECT_EQ(cv->SystemCodePage(), "950");
    cv->ConvertForm(f.Form, false);
    EXPECT_EQ(f.Form->Caption(), "壞賬沖銷");
}

TEST(CodeConverter, FontsByMode) {
    const struct {
        uint8_t Mode;
        int Charset;
    } cases[] = {{0, 134}, {1, 134}, {2, 136}, {3, 136}, {4, 134}};
    for (const auto& c : cases) {
        vcl::TFont font;
        font.SetName("Arial");
        TCodeConverter::SetFontForMode(&font, c.Mode);
        EXPECT_EQ(font.GetName(), "SimSun");
        EXPECT_EQ(font.GetCharset(), c.Charset) << int(c.Mode);
    }
}

TEST(CodeConverter, DatabaseTextsBothWaysAndArrays) {
    ConverterEnv env("950", "936"); // Big5 interface, GB2312 database
    vcl::TComponent owner(nullptr);
    auto* cv = vcl::Create<TCodeConverter>(&owner);
    ASSERT_EQ(cv->DBConvertMode(), 2);
    EXPECT_EQ(cv->ToDBText("客戶部門"), ole::Variant("客户部门"));
    EXPECT_EQ(cv->FromDBText("客户部门"), ole::Variant("客戶部門"));
    EXPECT_EQ(cv->FromUIText("業務員"), ole::Variant("业务员"));

    const ole::Variant nested = ole::VarArrayOf({"客户", ole::VarArrayOf({"部门", "币别"}), 12});
    const ole::Variant out = cv->ConvertText(2, nested);
    EXPECT_EQ(out[0], ole::Variant("客戶"));
    EXPECT_EQ(out[1][0], ole::Variant("部門"));
    EXPECT_EQ(out[1][1], ole::Variant("幣別"));
    EXPECT_EQ(out[2], ole::Variant("12")) << "a number comes back as its text";
    EXPECT_EQ(nested[0], ole::Variant("客户")) << "the argument is left alone";

    ole::Variant grid = ole::VarArrayCreate({0, 1, 1, 2});
    grid.At({0, 1}) = "金额";
    grid.At({1, 2}) = 3.5;
    const ole::Variant g = cv->ConvertText(2, grid);
    EXPECT_EQ(g.At({0, 1}), ole::Variant("金額"));
    EXPECT_EQ(g.At({1, 2}), ole::Variant("3.5"));
    EXPECT_TRUE(g.At({0, 2}).IsEmpty());

    ole::Variant cube = ole::VarArrayCreate({0, 0, 0, 0, 0, 0});
    cube.At({0, 0, 0}) = "金额";
    EXPECT_EQ(cv->ConvertText(2, cube).At({0, 0, 0}), ole::Variant("金额"));
    EXPECT_EQ(cv->ConvertText(7, "金额"), ole::Variant("金额"));
}

TEST(CodeConverter, ARefusedTextPassesUnchangedOnTheWayBackOnly) {
    ConverterEnv env("950", "936");
    vcl::TComponent owner(nullptr);
    auto* cv = vcl::Create<TCodeConverter>(&owner);
    const ole::Variant bad("abc\xFF");
    EXPECT_EQ(cv->ToDBText(bad), bad);
    EXPECT_EQ(cv->FromUIText(bad), bad);
    EXPECT_THROW(cv->ToUIText(bad), rtl::Exception);
}

TEST(CodeConverter, TheLanguageLibraryMustLoadWithBothEntries) {
    TestInstallation inst(Pages("950", "950"));
    vcl::TComponent owner(nullptr);
    {
        TempDir empty;
        EnvGuard nowhere("ORVANE_LIBRARY_PATH", empty.Path());
        try {
            vcl::Create<TCodeConverter>(&owner);
            FAIL() << "created";
        } catch (const rtl::Exception& e) {
            EXPECT_STREQ(e.what(), "Load Library Ktlanguage.so Error!");
        }
    }
    {
        EnvGuard half("ORVANE_LIBRARY_PATH", KTLANGUAGE_HALF_DIR);
        try {
            vcl::Create<TCodeConverter>(&owner);
            FAIL() << "created";
        } catch (const rtl::Exception& e) {
            EXPECT_STREQ(e.what(), "Get Library Procedure Address Error!");
        }
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(CodeConverter, MessageDialogs) {
    ConverterEnv env("936", "936");
    Scripted s;
    s.R->Rules.push_back({"", vcl::mrNo});
    auto* form = vcl::Create<vcl::TForm>(nullptr);
    form->SetCaption("坏账冲销[演示公司]");
    form->SetWindowState(vcl::TWindowState::wsMinimized);
    auto* cv = vcl::Create<TCodeConverter>(form);
    EXPECT_EQ(cv->MessageDialog("", vcl::TMsgDlgType::mtError, {vcl::TMsgDlgBtn::mbOK}), 0);
    EXPECT_TRUE(s.R->Dialogs.empty());
    EXPECT_EQ(cv->MessageDialog("删除吗？", vcl::TMsgDlgType::mtConfirmation,
                                {vcl::TMsgDlgBtn::mbYes, vcl::TMsgDlgBtn::mbNo}),
              vcl::mrNo);
    ASSERT_EQ(s.R->Dialogs.size(), 1u);
    EXPECT_EQ(s.R->Dialogs[0].Caption, "坏账冲销[演示公司]");
    EXPECT_EQ(s.R->Dialogs[0].Text, "删除吗？      ");
    EXPECT_EQ(s.R->Dialogs[0].Type, vcl::TMsgDlgType::mtConfirmation);
    EXPECT_EQ(form->WindowState(), vcl::TWindowState::wsNormal);
    form->Free();
}

TEST(CodeConverter, NoBlanksWhenNeitherCodePageIsSimplified) {
    ConverterEnv env("950", "950", "950");
    Scripted s;
    vcl::TComponent owner(nullptr);
    auto* cv = vcl::Create<TCodeConverter>(&owner);
    cv->MessageDialog("處理完畢", vcl::TMsgDlgType::mtInformation, {vcl::TMsgDlgBtn::mbOK});
    ASSERT_EQ(s.R->Dialogs.size(), 1u);
    EXPECT_EQ(s.R->Dialogs[0].Text, "處理完畢");
}

// Registered once for the whole program: it only counts what it sees.
int MemoConversions = 0;

TEST(CodeConverter, ClassesAddTheirOwnConversion) {
    ConverterEnv env("950", "950");
    SampleForm f;
    auto* cv = vcl::Create<TCodeConverter>(f.Form);
    RegisterClassTextConverter(
        "TCustomMemo", false, [](const TCodeConverter&, vcl::TComponent& c, uint8_t mode) {
            if (c.InheritsFrom(vcl::TCustomMemo::StaticClassInfo()) && mode == 2) ++MemoConversions;
        });
    MemoConversions = 0;
    cv->ConvertForm(f.Form, false);
    EXPECT_EQ(MemoConversions, 1);
}

} // namespace
