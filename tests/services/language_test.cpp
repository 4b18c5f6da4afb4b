#include "services/LanguageController.h"

#include "tests/services/Installation.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::string Lng(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + body;
}

// A form with the controls the packages below speak of.
struct LangForm {
    LangForm() {
        Form = vcl::Create<vcl::TForm>(nullptr);
        Form->SetName("frmTest");
        Form->SetCaption("坏账冲销");
        Ok = Make<vcl::TButton>("btnOk");
        Ok->SetCaption("确定");
        Cancel = Make<vcl::TButton>("btnCancel");
        Cancel->SetCaption("取消");
        Combo = Make<vcl::TComboBox>("cboType");
        Combo->Items()->SetText("一\r\n二\r\n三");
        Combo->SetItemIndex(1);
        Label = Make<vcl::TLabel>("lblCustomer");
        List = Make<vcl::TListView>("lstScheme");
        List->Columns()->Add()->SetCaption("方案名称");
        List->Columns()->Add()->SetCaption("创建时间");
        List->Items()->Add()->SetCaption("方案一");
        Status = Make<vcl::TStatusBar>("sbMain");
        Status->Panels()->Add()->SetText("就绪");
        Memo = Make<vcl::TMemo>("mmNote");
        Memo->Lines()->SetText("第一行");
    }
    ~LangForm() { Form->Free(); }
    template <class C> C* Make(const std::string& name) {
        C* c = vcl::Create<C>(Form);
        c->SetName(name);
        return c;
    }
    vcl::TForm* Form;
    vcl::TButton *Ok, *Cancel;
    vcl::TComboBox* Combo;
    vcl::TLabel* Label;
    vcl::TListView* List;
    vcl::TStatusBar* Status;
    vcl::TMemo* Memo;
};

// A controller over a package file written into a temporary folder (no installation: the
// package is found by its bare name in the working folder, so the tests give full paths).
struct Package {
    explicit Package(const std::string& xml) {
        WriteFile(File, Lng(xml));
        Ctl = vcl::Create<TKtLangController>(nullptr);
        Ctl->SetLangPackageName(Dir.Path() + "TfrmTest");
    }
    ~Package() { Ctl->Free(); }
    TempDir Dir;
    std::string File = Dir.File("TfrmTest.Lng");
    TKtLangController* Ctl;
};

TEST(LanguageController, AppliesTheRootAndEveryNamedElement) {
    Package p(R"(<frmTest Caption="Bad-debt write-off" Width="480">
  <btnOk Caption="OK" Hint="Submit"/>
  <panel><cboType Items_5="Six" Items_0="One"/></panel>
  <lblCustomer Font.Color="clRed" Font.Style=" [fsBold, fsItalic] " Cursor="crHandPoint"
               Nonsense="1" Visible="perhaps" Caption="Customer"/>
  <lstScheme Columns_1.Caption="Created" Items_0.Caption="Plan one"/>
  <sbMain Panels.Items_0.Text="Ready" Panels.Items_7.Text="nobody"/>
  <mmNote Lines_2="third"/>
  <btnOk Caption="second element"/>
</frmTest>)");
    LangForm f;
    ASSERT_EQ(p.Ctl->PackageFileName(), p.File);
    p.Ctl->SetActive(true);
    ASSERT_TRUE(p.Ctl->Active());
    p.Ctl->ApplyTo(f.Form);
    EXPECT_EQ(f.Form->Caption(), "Bad-debt write-off");
    EXPECT_EQ(f.Form->Width(), 480);
    EXPECT_EQ(f.Ok->Caption(), "OK") << "only the first element of a name applies";
    EXPECT_EQ(f.Ok->Hint(), "Submit");
    EXPECT_EQ(f.Cancel->Caption(), "取消");
    EXPECT_EQ(f.Combo->Items()->Text(), "One\r\n二\r\n三\r\n\r\n\r\nSix\r\n");
    EXPECT_EQ(f.Combo->ItemIndex(), 1);
    EXPECT_EQ(f.Label->Font()->GetColor(), vcl::clRed);
    EXPECT_EQ(f.Label->Font()->GetStyle(),
              vcl::TFontStyles({vcl::TFontStyle::fsBold, vcl::TFontStyle::fsItalic}));
    EXPECT_EQ(f.Label->Cursor(), vcl::crHandPoint);
    EXPECT_TRUE(f.Label->Visible()) << "an unfitting value is skipped";
    EXPECT_EQ(f.Label->Caption(), "Customer") << "the attributes after a bad one still apply";
    EXPECT_EQ(f.List->Columns()->Items(0)->Caption(), "方案名称");
    EXPECT_EQ(f.List->Columns()->Items(1)->Caption(), "Created");
    EXPECT_EQ(f.List->Items()->Item(0)->Caption(), "Plan one");
    EXPECT_EQ(f.Status->Panels()->Items(0)->Text(), "Ready");
    EXPECT_EQ(f.Status->Panels()->Count(), 1);
    EXPECT_EQ(f.Memo->Lines()->Text(), "第一行\r\n\r\nthird\r\n");
}

TEST(LanguageController, ExcludedComponentsKeepTheirDesignButTheirOwnedOnesAreVisited) {
    Package p(R"(<frmTest><btnOk Caption="OK"/><btnCancel Caption="Cancel"/>
  <inner Caption="Inner"/></frmTest>)");
    LangForm f;
    // A component that owns another: the owned one is still served.
    auto* inner = vcl::Create<vcl::TButton>(f.Ok);
    inner->SetName("inner");
    p.Ctl->ExcludeControls()->Add(" BTNOK ");
    p.Ctl->SetActive(true);
    p.Ctl->ApplyTo(f.Form);
    EXPECT_EQ(f.Ok->Caption(), "确定");
    EXPECT_EQ(f.Cancel->Caption(), "Cancel");
    EXPECT_EQ(inner->Caption(), "Inner");
    // A change of the list takes effect at once.
    p.Ctl->ExcludeControls()->Clear();
    p.Ctl->ApplyTo(f.Form);
    EXPECT_EQ(f.Ok->Caption(), "OK");
}

TEST(LanguageController, EventsAroundOpeningLoadingAndClosing) {
    struct Recorder : rtl::TObject {
        std::string Log;
        void Open(rtl::TObject*) { Log += "open;"; }
        void Opened(rtl::TObject*) { Log += "opened;"; }
        void Closing(rtl::TObject*) { Log += "close;"; }
        void Closed(rtl::TObject*) { Log += "closed;"; }
        void Before(vcl::TComponent* c, const xml::Node& n) {
            Log += "before " + c->Name() + "/" + n.NodeName() + ";";
        }
        void After(vcl::TComponent* c, const xml::Node&) { Log += "after " + c->Name() + ";"; }
    } r;
    Package p(R"(<frmTest><btnOk Caption="OK"/></frmTest>)");
    p.Ctl->FBeforeOpen = rtl::MethodOf<&Recorder::Open>(&r);
    p.Ctl->FAfterOpen = rtl::MethodOf<&Recorder::Opened>(&r);
    p.Ctl->FBeforeClose = rtl::MethodOf<&Recorder::Closing>(&r);
    p.Ctl->FAfterClose = rtl::MethodOf<&Recorder::Closed>(&r);
    p.Ctl->FBeforeLoadComponent = rtl::MethodOf<&Recorder::Before>(&r);
    p.Ctl->FAfterLoadComponent = rtl::MethodOf<&Recorder::After>(&r);
    LangForm f;
    p.Ctl->SetActive(true);
    p.Ctl->ApplyTo(f.Form);
    p.Ctl->SetActive(false);
    // The root serves the form, and so does the first element of the form's name: here the
    // root again.
    EXPECT_EQ(r.Log, "open;opened;before frmTest/frmTest;after frmTest;before frmTest/frmTest;"
                     "after frmTest;before btnOk/btnOk;after btnOk;close;closed;");
    // Another package name names another file: the controller closes.
    p.Ctl->SetActive(true);
    r.Log.clear();
    p.Ctl->SetLangPackageName(p.Dir.Path() + "TfrmOther");
    EXPECT_FALSE(p.Ctl->Active());
    EXPECT_EQ(r.Log, "close;closed;");
}

TEST(LanguageController, Failures) {
    auto* ctl = vcl::Create<TKtLangController>(nullptr);
    auto message = [&] {
        try {
            ctl->SetActive(true);
        } catch (const LanguageControllerError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(), "Cannot Find File !");
    TempDir dir;
    ctl->SetLangPackageName(dir.Path() + "TfrmMissing");
    EXPECT_NE(message().find("TfrmMissing.Lng"), std::string::npos) << message();
    WriteFile(dir.File("TfrmBroken.Lng"), "<frmTest><btnOk Caption='x'></frmTest>");
    ctl->SetLangPackageName(dir.Path() + "TfrmBroken");
    EXPECT_NE(message().find("line 1"), std::string::npos) << message();
    WriteFile(
        dir.File("TfrmBomb.Lng"),
        "<!DOCTYPE a [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;\">"
        "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"><!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;\">]>"
        "<a x=\"&g;\"/>");
    ctl->SetLangPackageName(dir.Path() + "TfrmBomb");
    EXPECT_NE(message(), "no error");
    EXPECT_FALSE(ctl->Active());
    LangForm f;
    try {
        ctl->ApplyTo(f.Form);
        FAIL() << "applied";
    } catch (const LanguageControllerError& e) {
        EXPECT_STREQ(e.what(), "No active LanguageController!");
    }
    ctl->Free();
}

TEST(LanguageController, DeepDocumentsApplyWithoutExhaustingTheStack) {
    std::string body;
    for (int i = 0; i < 100000; ++i)
        body += "<n>";
    body += "<btnOk Caption=\"deep\"/>";
    for (int i = 0; i < 100000; ++i)
        body += "</n>";
    Package p("<frmTest>" + body + "</frmTest>");
    LangForm f;
    p.Ctl->SetActive(true);
    p.Ctl->ApplyTo(f.Form);
    EXPECT_EQ(f.Ok->Caption(), "deep");
}

TEST(LanguageController, AnActiveValueFromAResourceWaitsForTheEndOfLoading) {
    Package p(R"(<frmTest/>)");
    p.Ctl->BeginLoading();
    p.Ctl->SetActive(true);
    EXPECT_FALSE(p.Ctl->Active());
    p.Ctl->EndLoading();
    EXPECT_TRUE(p.Ctl->Active());
}

TEST(LanguageController, SupportOperations) {
    EXPECT_EQ(GetToken("a;b;;d", ';', 0), "a");
    EXPECT_EQ(GetToken("a;b;;d", ';', 2), "");
    EXPECT_EQ(GetToken("a;b;;d", ';', 3), "d");
    EXPECT_EQ(GetToken("a;b;;d", ';', 4), "");
    LangForm f;
    EXPECT_TRUE(SetPropertyPath(f.Label, "Font.Name", "Tahoma"));
    EXPECT_EQ(f.Label->Font()->GetName(), "Tahoma");
    EXPECT_FALSE(SetPropertyPath(f.Label, "Font.Nothing", "1"));
    EXPECT_FALSE(SetPropertyPath(f.Label, "Width", "wide"));
    EXPECT_EQ(GetObjectProperty(f.Label, "Font"), f.Label->Font());
    EXPECT_EQ(GetObjectProperty(f.Label, "Caption"), nullptr);
    xml::Document doc = xml::Document::Create();
    ASSERT_TRUE(doc.LoadXML("<a Msg=\"text\"/>"));
    EXPECT_EQ(AttributeText(doc.DocumentElement().Attribute(0)), "text");
    EXPECT_EQ(AttributeText(doc.DocumentElement()), "");
}

TEST(LanguageController, FoldersFromTheProfile) {
    const struct {
        std::string UICodePage;
        TDesignType Type;
        std::string Folder; // below the installation, "" for none
    } cases[] = {
        {"950", TDesignType::dtClient, "MultiLanguage/CHT/"},
        {"936", TDesignType::dtClient, "MultiLanguage/CHS/"},
        {"437", TDesignType::dtServer, "MultiLanguage/ENG/"},
        {"1252", TDesignType::dtClient, ""},
    };
    for (const auto& c : cases) {
        demo::TDemoOptions o;
        o.UICodePage = c.UICodePage;
        TestInstallation inst(o);
        auto* ctl = vcl::Create<TKtLangController>(nullptr);
        ctl->SetDesignType(c.Type);
        ctl->SetLangPackageName("TfrmBaseGene");
        const std::string expected = c.Folder.empty() ? std::string() : inst.Layout.Root + c.Folder;
        EXPECT_EQ(LangFolder(c.Type), expected) << c.UICodePage;
        EXPECT_EQ(ctl->PackageFileName(), expected + "TfrmBaseGene.Lng") << c.UICodePage;
        ctl->Free();
    }
    // The folder must exist.
    demo::TDemoOptions o;
    o.UICodePage = "950";
    TestInstallation inst(o);
    std::filesystem::remove_all(inst.Layout.Root + "MultiLanguage/CHT");
    EXPECT_EQ(LangFolder(TDesignType::dtClient), "");
}

TEST(LanguageController, MessageTexts) {
    TestInstallation inst;
    const std::string folder = inst.Layout.Root + "MultiLanguage/CHS/";
    WriteFile(folder + "TfrmBaseBatch.Lng",
              Lng("<TfrmBaseBatch><sOver Msg=\"Done! \"/><sEmpty/></TfrmBaseBatch>"));
    WriteFile(folder + "TfrmBroken.Lng", "<a");
    const struct {
        std::string Class, Name, Expected;
    } cases[] = {
        {"TfrmBaseBatch", "sOver", "Done! "},     {"TfrmBaseBatch", "sEmpty", "default"},
        {"TfrmBaseBatch", "sMissing", "default"}, {"TfrmBaseBatch", "s[bad", "default"},
        {"TfrmNone", "sOver", "default"},         {"TfrmBroken", "sOver", "default"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LookupLangText(TDesignType::dtClient, c.Class, c.Name, "default"), c.Expected)
            << c.Class << "/" << c.Name;
}

} // namespace
