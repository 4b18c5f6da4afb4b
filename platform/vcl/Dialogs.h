// Message dialogs and the interaction seam: every dialog, modal run and error display goes
// through one replaceable service (Qt dialogs in a GUI process, a scripted responder in tests,
// a logging default headless).
#pragma once

#include "platform/vcl/Forms.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vcl {

class TButton;

enum class TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn : uint8_t {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
enum : int { mrAll = 8, mrNoToAll = 9, mrYesToAll = 10 };

// What a dialog asks: the interaction service answers with one of the buttons' results.
struct TDialogButton {
    std::string Name;    // "Yes", "OK", ... as the VCL names the dialog's buttons
    std::string Caption; // what the user reads ("是(&Y)")
    int ModalResult = 0;
};

struct TDialogRequest {
    std::string Caption; // the window title
    std::string Text;
    TMsgDlgType Type = TMsgDlgType::mtCustom;
    std::vector<TDialogButton> Buttons;
    int DefaultResult = 0; // the default button's result
    int CancelResult = 0;  // what Escape answers
};

class IInteraction {
public:
    virtual ~IInteraction() = default;
    virtual int ShowDialog(const TDialogRequest& request) = 0;
    // A modal run of a form without a view: act for the user (set a modal result or close).
    virtual void DriveModal(TCustomForm& form) = 0;
    // The platform's default error display.
    virtual void ShowException(const std::exception& error) = 0;
};

// Installs a service (null: the headless default) and answers the one in force.
void SetInteraction(std::unique_ptr<IInteraction> interaction);
IInteraction& Interaction();

// Answers dialogs by rule and records each one; unanswered dialogs take the default button.
class TScriptedResponder : public IInteraction {
public:
    struct Rule {
        std::string TextContains; // empty matches every dialog
        int Answer;
    };
    std::vector<TDialogRequest> Dialogs;
    std::vector<std::string> Errors;
    std::vector<Rule> Rules;
    std::function<void(TCustomForm&)> Modal;

    int ShowDialog(const TDialogRequest& request) override;
    void DriveModal(TCustomForm& form) override;
    void ShowException(const std::exception& error) override;
};

// The dialog form with its buttons named as the VCL names them, so that callers can replace
// their captions before showing it.
class TMessageForm : public TForm {
    RTL_DECLARE_CLASS(TMessageForm, TForm)
public:
    explicit TMessageForm(TComponent* owner);
    std::string Message;
    TMsgDlgType DlgType = TMsgDlgType::mtCustom;
    // Shows the dialog through the interaction service and answers the chosen result.
    int Execute();
};

TMessageForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons);
int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);
void ShowMessage(const std::string& msg);

} // namespace vcl
