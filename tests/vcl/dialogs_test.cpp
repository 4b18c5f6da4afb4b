#include "platform/vcl/Dialogs.h"
#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

struct Scripted {
    TScriptedResponder* R;
    Scripted() {
        auto r = std::make_unique<TScriptedResponder>();
        R = r.get();
        SetInteraction(std::move(r));
    }
    ~Scripted() { SetInteraction(nullptr); }
};

} // namespace

TEST(Dialogs, ScriptedResponderRecordsAndAnswers) {
    Scripted s;
    s.R->Rules.push_back({"删除", mrNo});
    EXPECT_EQ(MessageDlg("确定要删除吗?", TMsgDlgType::mtConfirmation,
                         {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}),
              mrNo);
    EXPECT_EQ(MessageDlg("保存完毕", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}), mrOk);
    ASSERT_EQ(s.R->Dialogs.size(), 2u);
    const TDialogRequest& d = s.R->Dialogs[0];
    EXPECT_EQ(d.Caption, "Confirm");
    ASSERT_EQ(d.Buttons.size(), 2u);
    EXPECT_EQ(d.Buttons[0].Name, "Yes");
    EXPECT_EQ(d.DefaultResult, mrYes);
    EXPECT_EQ(d.CancelResult, mrNo);
}

TEST(Dialogs, ButtonCaptionsCanBeReplacedByName) {
    Scripted s;
    TMessageForm* f = CreateMessageDialog("继续?", TMsgDlgType::mtWarning,
                                          {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel});
    static_cast<TButton*>(f->FindComponent("OK"))->SetCaption("确定");
    static_cast<TButton*>(f->FindComponent("Cancel"))->SetCaption("取消");
    EXPECT_EQ(f->Execute(), mrOk);
    f->Free();
    EXPECT_EQ(s.R->Dialogs[0].Buttons[0].Caption, "确定");
    EXPECT_EQ(s.R->Dialogs[0].Buttons[1].Caption, "取消");
}

TEST(Dialogs, ModalFormsAreDrivenByTheService) {
    Scripted s;
    s.R->Modal = [](TCustomForm& f) { static_cast<TButton*>(f.FindComponent("btnOk"))->Click(); };
    TForm* f = Create<TForm>(nullptr);
    auto* ok = Create<TButton>(f);
    ok->SetName("btnOk");
    ok->SetParent(f);
    ok->SetModalResult(mrOk);
    EXPECT_EQ(f->ShowModal(), mrOk);
    f->Free();
}

TEST(StdCtrls, EditCheckBoxAndButton) {
    TForm* f = Create<TForm>(nullptr);
    auto* ed = Create<TEdit>(f);
    ed->SetParent(f);
    ed->SetMaxLength(3);
    ed->UserInput("客户编号");
    EXPECT_EQ(ed->Text(), "客户编"); // three characters, not three bytes
    ed->SetReadOnly(true);
    ed->UserInput("x");
    EXPECT_EQ(ed->Text(), "客户编");

    auto* chk = Create<TCheckBox>(f);
    chk->SetParent(f);
    chk->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        chk->Toggle();
        seen.push_back(chk->State());
    }
    EXPECT_EQ(seen,
              (std::vector<TCheckBoxState>{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                           TCheckBoxState::cbUnchecked}));
    char32_t space = U' ';
    chk->DoKeyPress(space);
    EXPECT_EQ(chk->State(), TCheckBoxState::cbGrayed);
    f->Free();
}
