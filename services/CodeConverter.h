// The code-page converter: the code pages and conversion modes of the client profile, texts and
// variants between the program (simplified Chinese), the interface and the database, whole
// forms converted for display, and message dialogs in the display font.
#pragma once

#include "services/OrvaneINI.h"

#include "platform/ole/Variant.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Dialogs.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TTranslator;

namespace vcl {
class TFont;
}

// The font face and character sets the converter gives fonts.
inline constexpr const char* ConverterFontName = "SimSun";
inline constexpr int GB2312CharsetNumber = 134;
inline constexpr int Big5CharsetNumber = 136;

class TCodeConverter : public vcl::TComponent {
    RTL_DECLARE_CLASS(TCodeConverter, vcl::TComponent)
public:
    // Reads the client profile; with a conversion mode for the interface it loads the language
    // library and raises "Load Library %s Error!" / "Get Library Procedure Address Error!"
    // when that fails, so that the owning form is not created either.
    explicit TCodeConverter(vcl::TComponent* owner);
    ~TCodeConverter() override;

    // Kept for the form resource; the profile has been read already, so it changes nothing.
    TDesignType DesignType() const { return FDesignType; }
    void SetDesignType(TDesignType v) { FDesignType = v; }

    const std::string& SystemCodePage() const { return FSystemCodePage; }
    const std::string& UICodePage() const { return FUICodePage; }
    const std::string& DBCodePage() const { return FDBCodePage; }
    uint8_t UIConvertMode() const { return FUIConvertMode; }
    uint8_t DBConvertMode() const { return FDBConvertMode; }
    TTranslator* Translator() const { return FTranslator; }

    // kind 1: traditional -> simplified, 2: simplified -> traditional, else unchanged. Arrays of
    // one and two dimensions are converted element by element; a single value becomes text.
    ole::Variant ConvertText(int kind, const ole::Variant& value) const;
    ole::Variant ToUIText(const ole::Variant& value) const;
    ole::Variant FromUIText(const ole::Variant& value) const;
    ole::Variant FromDBText(const ole::Variant& value) const;
    ole::Variant ToDBText(const ole::Variant& value) const;
    std::string Big5ToGb(std::string_view text) const;
    std::string GbToBig5(std::string_view text) const;
    // One text by mode: 1 Big5ToGb, 2 GbToBig5, else unchanged.
    std::string ConvertString(uint8_t mode, const std::string& text) const;

    // Converts the form and every component it owns for the interface (nothing without a
    // translator). deep also converts the cells of grids and similar bulky contents.
    void ConvertForm(vcl::TComponent* form, bool deep);

    // A modal message dialog captioned with the owning form's caption; 0 for an empty text.
    int MessageDialog(const std::string& text, vcl::TMsgDlgType type, vcl::TMsgDlgButtons buttons);

    // The font face "SimSun" with the character set of mode m (136 for 2 and 3, else 134).
    static void SetFontForMode(vcl::TFont* font, uint8_t mode);

private:
    void ConvertComponentProps(vcl::TComponent* c, uint8_t mode);

    TDesignType FDesignType = TDesignType::dtClient;
    std::string FSystemCodePage = "936", FUICodePage = "936", FDBCodePage = "936";
    uint8_t FUIConvertMode = 0, FDBConvertMode = 0;
    TTranslator* FTranslator = nullptr;
};

// Conversion of what a class keeps beyond its published texts (list-view items, grid cells,
// the selection panel's words). ConvertForm runs, for each owned component, every registered
// converter whose class the component is or derives from (by class name), in the interface
// modes 1 and 2; deep converters only when ConvertForm is asked to go deep. The converter's
// own ones are registered at start; classes added later (the selection panel, the data grids)
// register theirs here.
using TClassTextConverter =
    std::function<void(const TCodeConverter& converter, vcl::TComponent& component, uint8_t mode)>;
void RegisterClassTextConverter(std::string className, bool deepOnly, TClassTextConverter fn);

// True when obj's class is className or one of its descendants (names without regard to case).
bool ClassChainHas(const rtl::TObject* obj, std::string_view className);
