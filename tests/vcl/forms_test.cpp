#include "platform/vcl/FormReader.h"
#include "platform/vcl/Forms.h"

#include "platform/rtl/ClassBuilder.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

class TProbeEdit : public TWinControl {
    RTL_DECLARE_CLASS(TProbeEdit, TWinControl)
public:
    explicit TProbeEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }
};

RTL_BEGIN_CLASS(TProbeEdit, TWinControl)
RTL_END_CLASS

class TfrmProbe : public TForm {
    RTL_DECLARE_CLASS(TfrmProbe, TForm)
public:
    using TForm::TForm;
    void FormCreate(TObject*) { Log += "create;"; }
    void FormDestroy(TObject*) { Log += "destroy;"; }
    void FormClose(TObject*, TCloseAction& a) { a = TCloseAction::caFree; }
    void EdEnter(TObject* s) { Log += "enter " + static_cast<TComponent*>(s)->Name() + ";"; }
    void EdExit(TObject* s) {
        Log += "exit " + static_cast<TComponent*>(s)->Name() + ";";
        if (s == ed01 && KeepEd01) ed01->SetFocus(); // a check that refuses to let go
    }
    void FormKeyDown(TObject*, uint16_t& key, TShiftState) {
        if (key == VK_F2) {
            Log += "F2;";
            key = 0;
        }
    }
    void EdKeyDown(TObject* s, uint16_t& key, TShiftState) {
        Log += "key " + static_cast<TComponent*>(s)->Name() + " " + std::to_string(key) + ";";
    }
    TWinControl* pnlMain = nullptr;
    TProbeEdit *ed01 = nullptr, *ed02 = nullptr, *ed03 = nullptr;
    std::string Log;
    bool KeepEd01 = false;
};

RTL_BEGIN_CLASS(TfrmProbe, TForm)
c.Field("pnlMain", &TfrmProbe::pnlMain);
c.Field("ed01", &TfrmProbe::ed01);
c.Field("ed02", &TfrmProbe::ed02);
c.Field("ed03", &TfrmProbe::ed03);
c.Method<&TfrmProbe::FormCreate>("FormCreate");
c.Method<&TfrmProbe::FormDestroy>("FormDestroy");
c.Method<&TfrmProbe::FormClose>("FormClose");
c.Method<&TfrmProbe::EdEnter>("EdEnter");
c.Method<&TfrmProbe::EdExit>("EdExit");
c.Method<&TfrmProbe::FormKeyDown>("FormKeyDown");
c.Method<&TfrmProbe::EdKeyDown>("EdKeyDown");
RTL_END_CLASS

// ed02 comes before ed01 in the tab order although it is created later.
const char* const Resource = R"(object frmProbe: TfrmProbe
  Width = 400
  Height = 300
  KeyPreview = True
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnClose = FormClose
  OnKeyDown = FormKeyDown
  object pnlMain: TWinControl
    object ed01: TProbeEdit
      TabOrder = 1
      OnEnter = EdEnter
      OnExit = EdExit
      OnKeyDown = EdKeyDown
    end
    object ed02: TProbeEdit
      TabOrder = 0
      OnEnter = EdEnter
      OnExit = EdExit
    end
  end
  object ed03: TProbeEdit
    OnEnter = EdEnter
    OnExit = EdExit
  end
end
)";

struct Registered {
    Registered() { RegisterFormResource("TfrmProbe", "Probe.dfm", Resource); }
};

TfrmProbe* NewProbe() {
    static Registered once;
    return Create<TfrmProbe>(nullptr);
}

} // namespace

TEST(Forms, TabOrderExitEnterAndRefusedExit) {
    TfrmProbe* f = NewProbe();
    EXPECT_EQ(f->Log, "create;");
    f->Show();
    EXPECT_EQ(f->ActiveControl(), f->ed02); // the first in tab order
    f->Log.clear();
    uint16_t tab = VK_TAB;
    f->ed02->DoKeyDown(tab, {});
    EXPECT_EQ(f->ActiveControl(), f->ed01);
    f->ed01->DoKeyDown(tab = VK_TAB, {});
    EXPECT_EQ(f->ActiveControl(), f->ed03);
    f->ed03->DoKeyDown(tab = VK_TAB, {TShiftStateItem::ssShift});
    EXPECT_EQ(f->ActiveControl(), f->ed01);
    EXPECT_EQ(f->Log, "exit ed02;enter ed01;key ed01 9;exit ed01;enter ed03;exit ed03;enter ed01;");

    f->KeepEd01 = true;
    f->Log.clear();
    f->ed03->SetFocus();
    EXPECT_EQ(f->ActiveControl(), f->ed01); // the exit handler kept the focus
    f->KeepEd01 = false;
    f->SelectNext(f->ed01, true, true);
    EXPECT_EQ(f->ActiveControl(), f->ed03);

    f->ed01->SetEnabled(false);
    EXPECT_FALSE(f->ed01->CanFocus());
    EXPECT_THROW(f->ed01->SetFocus(), EInvalidOperation);
    f->SelectNext(f->ed03, true, true); // skips the disabled one
    EXPECT_EQ(f->ActiveControl(), f->ed02);
    f->Free();
}

TEST(Forms, KeyPreviewSwallowsKeys) {
    TfrmProbe* f = NewProbe();
    f->Show();
    f->ed01->SetFocus();
    f->Log.clear();
    uint16_t key = VK_F2;
    EXPECT_TRUE(f->ed01->DoKeyDown(key, {}));
    key = 'A';
    f->ed01->DoKeyDown(key, {});
    EXPECT_EQ(f->Log, "F2;key ed01 65;");
    f->SetKeyPreview(false);
    f->Log.clear();
    f->ed01->DoKeyDown(key = VK_F2, {});
    EXPECT_EQ(f->Log, "key ed01 113;");
    f->Free();
}

TEST(Forms, PostedCloseFreesOnTheNextProcessMessages) {
    TfrmProbe* f = NewProbe();
    f->Show();
    std::string* log = &f->Log;
    TComponent* watcher = new TComponent(nullptr);
    f->FreeNotification(watcher);
    f->Close(); // caFree: a release request is posted
    ASSERT_EQ(Application().PendingMessages(), 1u);
    EXPECT_EQ(*log, "create;enter ed02;");
    Application().ProcessMessages();
    EXPECT_EQ(Application().PendingMessages(), 0u);
    // The form is gone; a second request to the stale handle is dropped.
    PostMessage(0x1, WM_CLOSE);
    Application().ProcessMessages();
    watcher->Free();
}

TEST(Forms, ModalRunsWithTheDriver) {
    TfrmProbe* f = NewProbe();
    f->FOnClose = {};
    Application().ModalDriver = [](TCustomForm& form) { form.SetModalResult(mrOk); };
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_FALSE(f->Visible());
    Application().ModalDriver = nullptr;
    EXPECT_EQ(f->ShowModal(), mrCancel);
    Application().ModalDriver = [](TCustomForm& form) { form.Close(); };
    EXPECT_EQ(f->ShowModal(), mrCancel);
    Application().ModalDriver = nullptr;
    f->Free();
}
