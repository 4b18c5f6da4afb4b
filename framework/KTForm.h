// The base form of every window of the plug-in: a code-page converter and a language controller,
// input-method names cleared, fonts adapted to an English interface, disabled images generated
// for single-image buttons, and the language packages of the class chain applied on each show.
#pragma once

#include "services/CodeConverter.h"
#include "services/LanguageController.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TKTForm : public vcl::TForm {
    RTL_DECLARE_CLASS(TKTForm, vcl::TForm)
public:
    explicit TKTForm(vcl::TComponent* owner);

    // Bound by the resource; descendants override and call the inherited handler first.
    virtual void FormCreate(rtl::TObject* Sender);
    virtual void FormShow(rtl::TObject* Sender);

    // Converts the whole form for the interface once; later calls do nothing.
    void ConvertFormTexts();
    bool Converted() const { return FConverted; }
    int MessageDialog(const std::string& Msg, vcl::TMsgDlgType DlgType,
                      vcl::TMsgDlgButtons Buttons);
    std::string SystemCodePage() const;
    std::string UICodePage() const;
    uint8_t UIConvertMode() const;
    uint8_t DBConvertMode() const;

    void ApplyLanguage(bool WithAncestors);
    // The packages of Target's class chain below the platform form class, the most basic first;
    // without ancestors only Target's own class.
    virtual void LoadLanguage(vcl::TComponent* Target, bool WithAncestors);
    // The same, stopping below TKTForm as well.
    virtual void LoadOwnLanguage(vcl::TComponent* Target, bool WithAncestors);
    // Text := the package text Name of ClassName, else Default (converted for the interface
    // first when ConvertDefault).
    void GetLangText(const std::string& ClassName, const std::string& Name, std::string& Text,
                     bool ConvertDefault, const std::string& Default);

    TCodeConverter* KtConverter = nullptr;
    TKtLangController* LangController = nullptr;

private:
    void LoadPackages(vcl::TComponent* target, bool withAncestors, bool ownOnly);
    bool FConverted = false;
};

// A grey embossed rendering of bitmap (converted to 24 bits): dark pixels and pixels next to
// the transparent colour become the silhouette, drawn in the button highlight colour one pixel
// down and right, then in the button shadow colour, on the button face colour.
std::unique_ptr<vcl::TBitmap> CreateDisabledGlyph(vcl::TBitmap* bitmap);
// Doubles bitmap's width: the image, then its disabled rendering. Nothing for null.
void AddDisabledGlyph(vcl::TBitmap* bitmap);

// The buttons of a component whose single image gets a disabled one at form creation. A
// component is matched against the registered classes in order (by class name, descendants
// included) and the first match answers. Registered at start: TKtBtnDBEdit (its lookup button),
// TKtBtnDBCombo (its lookup button), TSpeedButton (itself, TGSpeedButton included) and TBitBtn
// (itself); the selection panel registers its three internal buttons when it comes.
using TGlyphButtonsProvider = std::function<std::vector<vcl::TControl*>(vcl::TComponent&)>;
void RegisterGlyphButtons(std::string className, TGlyphButtonsProvider provider);
