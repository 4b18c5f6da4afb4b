#include "platform/vcl/Dialogs.h"

#include "platform/vcl/StdCtrls.h"

#include "platform/rtl/ClassBuilder.h"

#include <cstdio>

namespace vcl {

namespace {

struct ButtonInfo {
    TMsgDlgBtn Button;
    const char* Name;
    const char* Caption;
    int Result;
};

const ButtonInfo Buttons[] = {
    {TMsgDlgBtn::mbYes, "Yes", "&Yes", mrYes},
    {TMsgDlgBtn::mbNo, "No", "&No", mrNo},
    {TMsgDlgBtn::mbOK, "OK", "OK", mrOk},
    {TMsgDlgBtn::mbCancel, "Cancel", "Cancel", mrCancel},
    {TMsgDlgBtn::mbAbort, "Abort", "&Abort", mrAbort},
    {TMsgDlgBtn::mbRetry, "Retry", "&Retry", mrRetry},
    {TMsgDlgBtn::mbIgnore, "Ignore", "&Ignore", mrIgnore},
    {TMsgDlgBtn::mbAll, "All", "&All", mrAll},
    {TMsgDlgBtn::mbNoToAll, "NoToAll", "N&o to All", mrNoToAll},
    {TMsgDlgBtn::mbYesToAll, "YesToAll", "Yes to &All", mrYesToAll},
    {TMsgDlgBtn::mbHelp, "Help", "&Help", mrNone},
};

const char* TitleOf(TMsgDlgType t) {
    switch (t) {
    case TMsgDlgType::mtWarning:
        return "Warning";
    case TMsgDlgType::mtError:
        return "Error";
    case TMsgDlgType::mtInformation:
        return "Information";
    case TMsgDlgType::mtConfirmation:
        return "Confirm";
    default:
        return "";
    }
}

// Headless: the dialog is written to the standard error and the default button taken.
class THeadlessInteraction : public IInteraction {
public:
    int ShowDialog(const TDialogRequest& r) override {
        std::fprintf(stderr, "[dialog] %s: %s -> %d\n", r.Caption.c_str(), r.Text.c_str(),
                     r.DefaultResult);
        return r.DefaultResult;
    }
    void DriveModal(TCustomForm&) override {}
    void ShowException(const std::exception& e) override {
        std::fprintf(stderr, "[error] %s\n", e.what());
    }
};

std::unique_ptr<IInteraction>& Current() {
    static auto* slot = new std::unique_ptr<IInteraction>(new THeadlessInteraction);
    return *slot;
}

} // namespace

void SetInteraction(std::unique_ptr<IInteraction> interaction) {
    Current() = interaction ? std::move(interaction) : std::make_unique<THeadlessInteraction>();
    // Modal runs of forms without a view are driven by the same service.
    Application().ModalDriver = [](TCustomForm& f) { Interaction().DriveModal(f); };
}

IInteraction& Interaction() {
    return *Current();
}

int TScriptedResponder::ShowDialog(const TDialogRequest& request) {
    Dialogs.push_back(request);
    for (const Rule& r : Rules)
        if (request.Text.find(r.TextContains) != std::string::npos) return r.Answer;
    return request.DefaultResult;
}

void TScriptedResponder::DriveModal(TCustomForm& form) {
    if (Modal) Modal(form);
}

void TScriptedResponder::ShowException(const std::exception& error) {
    Errors.push_back(error.what());
}

RTL_BEGIN_CLASS(TMessageForm, TForm)
RTL_END_CLASS

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) {}

int TMessageForm::Execute() {
    TDialogRequest r;
    r.Caption = Caption();
    r.Text = Message;
    r.Type = DlgType;
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (!c->InheritsFrom(TButton::StaticClassInfo())) continue;
        auto* b = static_cast<TButton*>(c);
        r.Buttons.push_back(TDialogButton{b->Name(), b->Caption(), b->ModalResult()});
        if (b->Default()) r.DefaultResult = b->ModalResult();
        if (b->Cancel()) r.CancelResult = b->ModalResult();
    }
    if (r.DefaultResult == 0 && !r.Buttons.empty()) r.DefaultResult = r.Buttons.front().ModalResult;
    SetModalResult(Interaction().ShowDialog(r));
    return ModalResult();
}

TMessageForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type,
                                  TMsgDlgButtons buttons) {
    auto* f = Create<TMessageForm>(nullptr);
    f->Message = msg;
    f->DlgType = type;
    f->SetCaption(TitleOf(type));
    // The VCL's defaults: OK, else Yes, is the default button; Cancel, else No, else OK cancels.
    TMsgDlgBtn def = buttons.Contains(TMsgDlgBtn::mbOK)    ? TMsgDlgBtn::mbOK
                     : buttons.Contains(TMsgDlgBtn::mbYes) ? TMsgDlgBtn::mbYes
                                                           : TMsgDlgBtn::mbHelp;
    TMsgDlgBtn cancel = buttons.Contains(TMsgDlgBtn::mbCancel) ? TMsgDlgBtn::mbCancel
                        : buttons.Contains(TMsgDlgBtn::mbNo)   ? TMsgDlgBtn::mbNo
                                                               : TMsgDlgBtn::mbOK;
    bool first = true;
    for (const ButtonInfo& info : Buttons) {
        if (!buttons.Contains(info.Button)) continue;
        auto* b = Create<TButton>(f);
        b->SetName(info.Name);
        b->SetCaption(info.Caption);
        b->SetModalResult(info.Result);
        b->SetParent(f);
        b->SetDefault(info.Button == def || (def == TMsgDlgBtn::mbHelp && first));
        b->SetCancel(info.Button == cancel);
        first = false;
    }
    return f;
}

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    TMessageForm* f = CreateMessageDialog(msg, type, buttons);
    int r = mrNone;
    try {
        r = f->Execute();
    } catch (...) {
        f->Free();
        throw;
    }
    f->Free();
    return r;
}

void ShowMessage(const std::string& msg) {
    MessageDlg(msg, TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK});
}

} // namespace vcl
