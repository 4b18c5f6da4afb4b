#include "framework/KTForm.h"

#include "components/GSpdBtn.h"
#include "components/KtrEdit.h"
#include "services/AlertLog.h"
#include "services/CompProps.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/vcl/Buttons.h"
#include "platform/win/Paths.h"

#ifdef ORVANE_HAVE_RVPKGEX
#include "suite/rvpkgex/KtBtnDBCombo.h"
#endif

#include <algorithm>
#include <cstring>
#include <mutex>

void RegisterFrameworkResources();

// ---- Buttons with a single image ------------------------------------------------------------

namespace {

struct GlyphButtonsEntry {
    std::string ClassName;
    TGlyphButtonsProvider Provider;
};

std::mutex& GlyphLock() {
    static std::mutex m;
    return m;
}

std::vector<GlyphButtonsEntry>& GlyphProviders() {
    static std::vector<GlyphButtonsEntry> list = [] {
        std::vector<GlyphButtonsEntry> l;
        l.push_back({"TKtBtnDBEdit", [](vcl::TComponent& c) -> std::vector<vcl::TControl*> {
                         return {static_cast<components::TKtBtnDBEdit&>(c).F2Button()};
                     }});
#ifdef ORVANE_HAVE_RVPKGEX
        l.push_back({"TKtBtnDBCombo", [](vcl::TComponent& c) -> std::vector<vcl::TControl*> {
                         return {static_cast<rvpkgex::TKtBtnDBCombo&>(c).Button()};
                     }});
#endif
        l.push_back({"TSpeedButton", [](vcl::TComponent& c) -> std::vector<vcl::TControl*> {
                         return {static_cast<vcl::TSpeedButton*>(&c)};
                     }});
        l.push_back({"TBitBtn", [](vcl::TComponent& c) -> std::vector<vcl::TControl*> {
                         return {static_cast<vcl::TBitBtn*>(&c)};
                     }});
        return l;
    }();
    return list;
}

// A single image becomes a strip of two: normal and disabled.
template <class B> void AddDisabledImage(B* button) {
    if (button && button->NumGlyphs() == 1 && button->Glyph() && !button->Glyph()->Empty()) {
        AddDisabledGlyph(button->Glyph());
        button->SetNumGlyphs(2);
    }
}

void GiveDisabledImages(vcl::TComponent* c) {
    std::vector<GlyphButtonsEntry> providers;
    {
        std::lock_guard<std::mutex> g(GlyphLock());
        providers = GlyphProviders();
    }
    for (const GlyphButtonsEntry& e : providers) {
        if (!ClassChainHas(c, e.ClassName)) continue;
        for (vcl::TControl* b : e.Provider(*c)) {
            if (!b) continue;
            if (b->InheritsFrom(vcl::TSpeedButton::StaticClassInfo()))
                AddDisabledImage(static_cast<vcl::TSpeedButton*>(b));
            else if (b->InheritsFrom(vcl::TBitBtn::StaticClassInfo()))
                AddDisabledImage(static_cast<vcl::TBitBtn*>(b));
        }
        return;
    }
}

} // namespace

void RegisterGlyphButtons(std::string className, TGlyphButtonsProvider provider) {
    std::lock_guard<std::mutex> g(GlyphLock());
    GlyphProviders().push_back({std::move(className), std::move(provider)});
}

// ---- Disabled images ------------------------------------------------------------------------

namespace {

struct Rgb {
    uint8_t B, G, R;
    bool operator==(const Rgb&) const = default;
};

Rgb RgbOf(vcl::TColor color) {
    const uint32_t c = uint32_t(vcl::ColorToRGB(color));
    return {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
}

Rgb At(const uint8_t* row, int x) {
    return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
}

void Put(uint8_t* row, int x, Rgb c) {
    row[3 * x] = c.B;
    row[3 * x + 1] = c.G;
    row[3 * x + 2] = c.R;
}

} // namespace

std::unique_ptr<vcl::TBitmap> CreateDisabledGlyph(vcl::TBitmap* bitmap) {
    auto m = std::make_unique<vcl::TBitmap>();
    if (!bitmap) return m;
    bitmap->SetPixelFormat(vcl::TPixelFormat::pf24bit);
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    m->SetPixelFormat(vcl::TPixelFormat::pf24bit);
    m->SetSize(w, h);
    if (w <= 0 || h <= 0) return m;
    const Rgb t = RgbOf(bitmap->GetTransparentColor());

    // The mask is kept apart from the image, so that a black transparent colour still works.
    std::vector<uint8_t> marked(size_t(w) * size_t(h), 0);
    const vcl::TBitmap* src = bitmap;
    for (int y = 0; y < h; ++y) {
        const uint8_t* above = src->ScanLine(std::max(y - 1, 0));
        const uint8_t* row = src->ScanLine(y);
        const uint8_t* below = src->ScanLine(std::min(y + 1, h - 1));
        for (int x = 0; x < w; ++x) {
            const Rgb p = At(row, x);
            if (p == t) continue;
            const bool dark = int(p.R) + int(p.G) + int(p.B) < 384;
            const bool edge = At(above, x) == t || At(below, x) == t ||
                              At(row, std::max(x - 1, 0)) == t ||
                              At(row, std::min(x + 1, w - 1)) == t;
            if (dark || edge) marked[size_t(y) * size_t(w) + size_t(x)] = 1;
        }
    }

    // The button face, the silhouette in the highlight colour one pixel down and right, then in
    // the shadow colour in place: what the mask transfers with the brush would paint.
    const Rgb face = RgbOf(vcl::clBtnFace), light = RgbOf(vcl::clBtnHighlight),
              shadow = RgbOf(vcl::clBtnShadow);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = m->ScanLine(y);
        for (int x = 0; x < w; ++x)
            Put(row, x, face);
    }
    for (int y = 0; y + 1 < h; ++y) {
        uint8_t* row = m->ScanLine(y + 1);
        for (int x = 0; x + 1 < w; ++x)
            if (marked[size_t(y) * size_t(w) + size_t(x)]) Put(row, x + 1, light);
    }
    for (int y = 0; y < h; ++y) {
        uint8_t* row = m->ScanLine(y);
        for (int x = 0; x < w; ++x)
            if (marked[size_t(y) * size_t(w) + size_t(x)]) Put(row, x, shadow);
    }
    return m;
}

void AddDisabledGlyph(vcl::TBitmap* bitmap) {
    if (!bitmap) return;
    std::unique_ptr<vcl::TBitmap> d = CreateDisabledGlyph(bitmap);
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    if (w <= 0 || h <= 0) return;
    vcl::TBitmap copy;
    copy.Assign(bitmap);
    copy.SetPixelFormat(vcl::TPixelFormat::pf24bit);
    const vcl::TColor t = bitmap->GetTransparentColor();
    bitmap->SetSize(2 * w, h);
    bitmap->Canvas()->Brush()->SetColor(t);
    bitmap->Canvas()->FillRect(vcl::TRect{0, 0, 2 * w, h});
    for (int y = 0; y < h; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        std::memcpy(row, copy.ScanLine(y), size_t(w) * 3);
        std::memcpy(row + size_t(w) * 3, d->ScanLine(y), size_t(w) * 3);
    }
}

// ---- The form -------------------------------------------------------------------------------

RTL_BEGIN_CLASS(TKTForm, vcl::TForm)
c.Field("KtConverter", &TKTForm::KtConverter);
c.Field("LangController", &TKTForm::LangController);
c.Method<&TKTForm::FormCreate>("FormCreate");
c.Method<&TKTForm::FormShow>("FormShow");
RTL_END_CLASS

TKTForm::TKTForm(vcl::TComponent* owner) : vcl::TForm(owner) {
    // The resources are read once the object is whole; they must be known by then.
    static std::once_flag once;
    std::call_once(once, [] { RegisterFrameworkResources(); });
}

void TKTForm::FormCreate(rtl::TObject*) {
    FConverted = false;
    const bool english = UICodePage() == "437";
    for (int i = 0; i < ComponentCount(); ++i) {
        vcl::TComponent* c = Components(i);
        // Input methods chosen at design time are never forced on the user.
        if (HasProperty(c, "ImeName")) SetStrProperty(c, "ImeName", "");
        if (english && HasProperty(c, "Font")) {
            SetPropertyPath(c, "Font.Charset", "134");
            SetPropertyPath(c, "Font.Name", "Tahoma");
        }
        GiveDisabledImages(c);
    }
}

void TKTForm::FormShow(rtl::TObject*) {
    ApplyLanguage(true);
}

void TKTForm::ConvertFormTexts() {
    if (FConverted) return;
    if (KtConverter) KtConverter->ConvertForm(this, true);
    FConverted = true;
}

int TKTForm::MessageDialog(const std::string& Msg, vcl::TMsgDlgType DlgType,
                           vcl::TMsgDlgButtons Buttons) {
    return KtConverter ? KtConverter->MessageDialog(Msg, DlgType, Buttons) : 0;
}

std::string TKTForm::SystemCodePage() const {
    return KtConverter ? KtConverter->SystemCodePage() : std::string("936");
}

std::string TKTForm::UICodePage() const {
    return KtConverter ? KtConverter->UICodePage() : std::string("936");
}

uint8_t TKTForm::UIConvertMode() const {
    return KtConverter ? KtConverter->UIConvertMode() : 0;
}

uint8_t TKTForm::DBConvertMode() const {
    return KtConverter ? KtConverter->DBConvertMode() : 0;
}

void TKTForm::ApplyLanguage(bool WithAncestors) {
    LoadLanguage(this, WithAncestors);
}

void TKTForm::LoadLanguage(vcl::TComponent* Target, bool WithAncestors) {
    LoadPackages(Target, WithAncestors, false);
}

void TKTForm::LoadOwnLanguage(vcl::TComponent* Target, bool WithAncestors) {
    LoadPackages(Target, WithAncestors, true);
}

void TKTForm::LoadPackages(vcl::TComponent* target, bool withAncestors, bool ownOnly) {
    if (!target || !LangController) return;
    std::vector<std::string> names;
    for (const rtl::TClassInfo* c = target->ClassInfo(); c; c = c->Parent) {
        if (c == &vcl::TForm::StaticClassInfo() || c == &vcl::TCustomForm::StaticClassInfo()) break;
        if (ownOnly && c == &TKTForm::StaticClassInfo()) break;
        names.push_back(c->Name);
        if (!withAncestors) break;
    }
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        LangController->SetLangPackageName(*it);
        if (!win::FileExists(LangController->PackageFileName())) continue;
        // A damaged package must not keep the form from showing: it is skipped and logged.
        try {
            LangController->SetActive(true);
            LangController->ApplyTo(target);
        } catch (const LanguageControllerError& e) {
            WriteAlertLog("LangPackage", LangController->PackageFileName() + ": " + e.what(), "D");
            LangController->SetActive(false);
        }
    }
}

void TKTForm::GetLangText(const std::string& ClassName, const std::string& Name, std::string& Text,
                          bool ConvertDefault, const std::string& Default) {
    std::string def = Default;
    if (ConvertDefault && KtConverter) def = ole::VarToStr(KtConverter->ToUIText(def));
    Text = LookupLangText(LangController ? LangController->DesignType() : TDesignType::dtClient,
                          ClassName, Name, def);
}
