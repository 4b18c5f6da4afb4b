#include "services/CodeConverter.h"

#include "services/TranslatorU.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Grids.h"

#include <mutex>
#include <vector>

namespace {

const rtl::TTypeInfo* DesignTypeTypeInfo() {
    static const rtl::TTypeInfo* t = rtl::EnumTypeInfo("TDesignType", {"dtClient", "dtServer"});
    return t;
}

struct ClassConverterEntry {
    std::string ClassName;
    bool DeepOnly;
    TClassTextConverter Fn;
};

std::mutex& RegistryLock() {
    static std::mutex m;
    return m;
}

void RegisterBuiltIns(std::vector<ClassConverterEntry>& list);

std::vector<ClassConverterEntry>& ClassConverters() {
    static std::vector<ClassConverterEntry> list = [] {
        std::vector<ClassConverterEntry> l;
        RegisterBuiltIns(l);
        return l;
    }();
    return list;
}

void ConvertStrings(const TCodeConverter& cv, rtl::TStrings* s, uint8_t mode) {
    if (!s) return;
    for (int i = 0; i < s->Count(); ++i) {
        const std::string& line = s->Get(i);
        if (!line.empty()) s->Put(i, cv.ConvertString(mode, line));
    }
}

// Where a new class learns to convert its texts: one entry per class, by class name.
void RegisterBuiltIns(std::vector<ClassConverterEntry>& list) {
    list.push_back(
        {"TCustomListView", false, [](const TCodeConverter& cv, vcl::TComponent& c, uint8_t m) {
             auto& lv = static_cast<vcl::TCustomListView&>(c);
             for (int i = 0; i < lv.Columns()->Count(); ++i) {
                 vcl::TListColumn* col = lv.Columns()->Items(i);
                 col->SetCaption(cv.ConvertString(m, col->Caption()));
             }
             for (int i = 0; i < lv.Items()->Count(); ++i) {
                 vcl::TListItem* item = lv.Items()->Item(i);
                 item->SetCaption(cv.ConvertString(m, item->Caption()));
                 ConvertStrings(cv, item->SubItems(), m);
             }
         }});
    list.push_back(
        {"TStringGrid", true, [](const TCodeConverter& cv, vcl::TComponent& c, uint8_t m) {
             auto& g = static_cast<vcl::TStringGrid&>(c);
             for (int r = 0; r < g.RowCount(); ++r)
                 for (int k = 0; k < g.ColCount(); ++k) {
                     const std::string& s = g.Cells(k, r);
                     if (!s.empty()) g.SetCells(k, r, cv.ConvertString(m, s));
                 }
         }});
    // Still to come with their classes: the selection panel (TSelectPanel: ChildHints,
    // BeginWords, FinalWords, HintWord through their setters, and its list's columns, captions
    // and sub-items), tree views (node texts, deep), tab sets (tab texts keeping the tab
    // index), data-set navigators (button hints) and the string-align grid (TStringAlignGrid,
    // deep: cell texts and hints, per cell/row/column fonts and item lists).
}

} // namespace

void RegisterClassTextConverter(std::string className, bool deepOnly, TClassTextConverter fn) {
    std::lock_guard<std::mutex> g(RegistryLock());
    ClassConverters().push_back({std::move(className), deepOnly, std::move(fn)});
}

bool ClassChainHas(const rtl::TObject* obj, std::string_view className) {
    if (!obj) return false;
    for (const rtl::TClassInfo* c = obj->ClassInfo(); c; c = c->Parent)
        if (rtl::SameText(c->Name, className)) return true;
    return false;
}

RTL_BEGIN_CLASS(TCodeConverter, vcl::TComponent)
c.Enum("DesignType", &TCodeConverter::DesignType, &TCodeConverter::SetDesignType,
       DesignTypeTypeInfo());
RTL_END_CLASS

TCodeConverter::TCodeConverter(vcl::TComponent* owner) : vcl::TComponent(owner) {
    // The client profile always: the design type from a resource is set only after this.
    {
        TOrvaneIniC ini;
        FSystemCodePage = ini.SystemCodePage;
        FUICodePage = ini.UICodePage;
        FDBCodePage = ini.DBCodePage;
        FUIConvertMode = ini.UIConvertMode;
        FDBConvertMode = ini.DBConvertMode;
    }
    if (FUIConvertMode != 0) FTranslator = vcl::Create<TTranslator>(nullptr);
}

TCodeConverter::~TCodeConverter() {
    vcl::FreeAndNil(FTranslator);
}

std::string TCodeConverter::Big5ToGb(std::string_view text) const {
    if (text.empty() || !FTranslator) return std::string(text);
    return FTranslator->BIG5toGB(text);
}

std::string TCodeConverter::GbToBig5(std::string_view text) const {
    if (text.empty() || !FTranslator) return std::string(text);
    return FTranslator->GBtoBIG5(text);
}

std::string TCodeConverter::ConvertString(uint8_t mode, const std::string& text) const {
    if (mode == 1) return Big5ToGb(text);
    if (mode == 2) return GbToBig5(text);
    return text;
}

ole::Variant TCodeConverter::ConvertText(int kind, const ole::Variant& value) const {
    ole::Variant result = value;
    if (kind == 0 || !FTranslator || value.IsEmpty() || value.IsNull()) return result;
    if (ole::VarIsArray(value)) {
        const int dims = ole::VarArrayDimCount(value);
        if (dims == 1) {
            for (int i = ole::VarArrayLowBound(value, 1); i <= ole::VarArrayHighBound(value, 1);
                 ++i) {
                const ole::Variant& e = value[i];
                if (ole::VarIsArray(e))
                    result[i] = ConvertText(kind, e);
                else if (kind == 1 || kind == 2)
                    result[i] = ConvertString(uint8_t(kind), ole::VarToStr(e));
            }
        } else if (dims == 2) {
            for (int i = ole::VarArrayLowBound(value, 1); i <= ole::VarArrayHighBound(value, 1);
                 ++i)
                for (int j = ole::VarArrayLowBound(value, 2); j <= ole::VarArrayHighBound(value, 2);
                     ++j)
                    result.At({i, j}) = ConvertText(kind, value.At({i, j}));
        }
        return result;
    }
    if (kind == 1 || kind == 2) result = ConvertString(uint8_t(kind), ole::VarToStr(value));
    return result;
}

ole::Variant TCodeConverter::ToUIText(const ole::Variant& value) const {
    return ConvertText(FUIConvertMode, value);
}

ole::Variant TCodeConverter::FromDBText(const ole::Variant& value) const {
    return ConvertText(FDBConvertMode, value);
}

namespace {
int Reverse(uint8_t mode) {
    return mode == 1 ? 2 : mode == 2 ? 1 : 0;
}
} // namespace

ole::Variant TCodeConverter::FromUIText(const ole::Variant& value) const {
    try {
        return ConvertText(Reverse(FUIConvertMode), value);
    } catch (const std::exception&) {
        return value;
    }
}

ole::Variant TCodeConverter::ToDBText(const ole::Variant& value) const {
    try {
        return ConvertText(Reverse(FDBConvertMode), value);
    } catch (const std::exception&) {
        return value;
    }
}

void TCodeConverter::SetFontForMode(vcl::TFont* font, uint8_t mode) {
    if (!font) return;
    font->SetName(ConverterFontName);
    font->SetCharset(mode == 2 || mode == 3 ? Big5CharsetNumber : GB2312CharsetNumber);
}

namespace {

vcl::TFont* FontProp(vcl::TComponent* c, std::string_view name) {
    const rtl::TPropInfo* p = rtl::GetPropInfo(c, name);
    if (!p || !p->GetObj || p->PropType->Kind != rtl::TTypeKind::tkClass) return nullptr;
    rtl::TObject* o = p->GetObj(c);
    return o && o->InheritsFrom(vcl::TFont::StaticClassInfo()) ? static_cast<vcl::TFont*>(o)
                                                               : nullptr;
}

rtl::TStrings* StringsProp(vcl::TComponent* c, std::string_view name) {
    const rtl::TPropInfo* p = rtl::GetPropInfo(c, name);
    if (!p || !p->GetObj || p->PropType->Kind != rtl::TTypeKind::tkClass) return nullptr;
    rtl::TObject* o = p->GetObj(c);
    return o && o->InheritsFrom(rtl::TStrings::StaticClassInfo()) ? static_cast<rtl::TStrings*>(o)
                                                                  : nullptr;
}

const rtl::TPropInfo* StrProp(vcl::TComponent* c, std::string_view name) {
    const rtl::TPropInfo* p = rtl::GetPropInfo(c, name);
    return p && p->GetStr && p->SetStr && p->PropType->Kind == rtl::TTypeKind::tkString ? p
                                                                                        : nullptr;
}

} // namespace

void TCodeConverter::ConvertComponentProps(vcl::TComponent* c, uint8_t m) {
    // A text the library refuses stays as designed rather than failing the whole form.
    auto convert = [&](const std::string& s) {
        try {
            return ConvertString(m, s);
        } catch (const std::exception&) {
            return s;
        }
    };
    for (const char* name : {"Font", "TitleFont"})
        SetFontForMode(FontProp(c, name), m);
    // Edits and combo boxes answer their Text as Caption: what is typed is data, not a caption.
    const bool textIsCaption = StrProp(c, "Text") != nullptr;
    for (const char* name : {"Caption", "Hint", "ButtonHint"})
        if (const rtl::TPropInfo* p = StrProp(c, name)) {
            if (textIsCaption && name == std::string_view("Caption")) continue;
            const std::string s = p->GetStr(c);
            if (!s.empty()) p->SetStr(c, convert(s));
        }
    for (const char* name : {"Items", "Lines"})
        if (rtl::TStrings* s = StringsProp(c, name)) {
            // Replacing the lines of a combo box clears its selection: keep it.
            const rtl::TPropInfo* index = rtl::GetPropInfo(c, "ItemIndex");
            const bool keep = index && index->GetOrd && index->SetOrd;
            const int64_t selected = keep ? index->GetOrd(c) : -1;
            const std::string text = s->Text();
            if (!text.empty()) s->SetText(convert(text));
            if (keep && index->GetOrd(c) != selected) index->SetOrd(c, selected);
        }
    if (const rtl::TPropInfo* p = rtl::GetPropInfo(c, "Panels"); p && p->GetObj) {
        rtl::TObject* o = p->GetObj(c);
        if (o && o->InheritsFrom(vcl::TStatusPanels::StaticClassInfo())) {
            auto* panels = static_cast<vcl::TStatusPanels*>(o);
            for (int i = 0; i < panels->Count(); ++i) {
                vcl::TStatusPanel* panel = panels->Items(i);
                panel->SetText(convert(panel->Text()));
            }
        }
    }
}

void TCodeConverter::ConvertForm(vcl::TComponent* form, bool deep) {
    if (!FTranslator || !form) return;
    const uint8_t m = FUIConvertMode;
    if (FSystemCodePage == "950")
        if (const rtl::TPropInfo* p = StrProp(form, "Caption"))
            p->SetStr(form, ConvertText(2, p->GetStr(form)).AsString());
    for (const char* name : {"Hint", "ButtonHint"})
        if (const rtl::TPropInfo* p = StrProp(form, name))
            p->SetStr(form, ConvertText(m, p->GetStr(form)).AsString());
    // The screen's icon, hint and menu fonts, and the owner-draw switches of lists and menus,
    // have no counterpart: Qt draws every text in its control's own font.
    std::vector<ClassConverterEntry> converters;
    {
        std::lock_guard<std::mutex> g(RegistryLock());
        converters = ClassConverters();
    }
    for (int i = 0; i < form->ComponentCount(); ++i) {
        vcl::TComponent* c = form->Components(i);
        ConvertComponentProps(c, m);
        if (m != 1 && m != 2) continue;
        for (const ClassConverterEntry& e : converters)
            if ((deep || !e.DeepOnly) && ClassChainHas(c, e.ClassName)) e.Fn(*this, *c, m);
    }
}

int TCodeConverter::MessageDialog(const std::string& text, vcl::TMsgDlgType type,
                                  vcl::TMsgDlgButtons buttons) {
    if (text.empty()) return 0;
    std::string msg = text;
    if (FUICodePage == "936" || FSystemCodePage == "936") msg += "      ";
    vcl::TMessageForm* dlg = vcl::CreateMessageDialog(msg, type, buttons);
    int result = vcl::mrNone;
    try {
        vcl::TComponent* owner = Owner();
        if (owner && owner->InheritsFrom(vcl::TCustomForm::StaticClassInfo())) {
            auto* form = static_cast<vcl::TCustomForm*>(owner);
            if (form->WindowState() == vcl::TWindowState::wsMinimized)
                form->SetWindowState(vcl::TWindowState::wsNormal);
            dlg->SetCaption(form->Caption());
        }
        SetFontForMode(dlg->Font(), FUIConvertMode);
        result = dlg->Execute();
    } catch (...) {
        dlg->Free();
        throw;
    }
    dlg->Free();
    return result;
}
