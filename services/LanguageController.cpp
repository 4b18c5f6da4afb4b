#include "services/LanguageController.h"

#include "services/CodeConverter.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Paths.h"

#include <charconv>
#include <vector>

// ---- Support operations ---------------------------------------------------------------------

rtl::TObject* GetObjectProperty(const rtl::TObject* obj, std::string_view name) {
    if (!obj || name.empty()) return nullptr;
    const rtl::TPropInfo* p = rtl::GetPropInfo(obj, name);
    if (!p || !p->GetObj || p->PropType->Kind != rtl::TTypeKind::tkClass) return nullptr;
    return p->GetObj(obj);
}

std::string GetToken(std::string_view text, char separator, int n) {
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        size_t next = text.find(separator, start);
        if (next == std::string_view::npos) return {};
        start = next + 1;
    }
    size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string AttributeText(const xml::Node& node) {
    return node && node.NodeType() == xml::TNodeType::ntAttribute ? node.Text() : std::string();
}

namespace {

bool ParseIndex(std::string_view s, int& n) {
    if (s.empty()) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    return ec == std::errc() && end == s.data() + s.size() && n >= 0;
}

// Name and index of a segment "Items_3"; index -1 without "_" or without a number.
void SplitSegment(std::string_view seg, std::string& name, int& index) {
    size_t u = seg.find('_');
    name = std::string(seg.substr(0, u));
    index = -1;
    if (u != std::string_view::npos && !ParseIndex(seg.substr(u + 1), index)) index = -1;
}

bool SetPropertyByName(rtl::TObject* obj, std::string_view name, const std::string& value) {
    size_t dot = name.find('.');
    while (dot != std::string_view::npos) {
        obj = GetObjectProperty(obj, name.substr(0, dot));
        name = name.substr(dot + 1);
        dot = name.find('.');
    }
    if (!obj) return false;
    const rtl::TPropInfo* p = rtl::GetPropInfo(obj, name);
    if (!p || p->ReadOnly()) return false;
    try {
        switch (p->PropType->Kind) {
        case rtl::TTypeKind::tkEnumeration:
        case rtl::TTypeKind::tkSet:
            rtl::SetPropText(obj, *p, rtl::Trim(value));
            break;
        case rtl::TTypeKind::tkInteger:
        case rtl::TTypeKind::tkInt64: {
            int64_t v = 0;
            if (p->PropType->IdentToInt && p->PropType->IdentToInt(value, v))
                p->SetOrd(obj, v);
            else
                rtl::SetPropText(obj, *p, value);
            break;
        }
        case rtl::TTypeKind::tkClass:
        case rtl::TTypeKind::tkMethod:
            return false;
        default:
            rtl::SetPropText(obj, *p, value);
        }
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

} // namespace

bool SetPropertyPath(rtl::TObject* obj, std::string_view path, const std::string& value) {
    return SetPropertyByName(obj, path, value);
}

void ApplyLangAttribute(vcl::TComponent* component, std::string_view path,
                        const std::string& value) {
    std::vector<std::string_view> segs;
    for (size_t start = 0;;) {
        size_t dot = path.find('.', start);
        segs.push_back(path.substr(start, dot == std::string_view::npos ? dot : dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    rtl::TObject* cur = component;
    std::string_view last = segs.back();
    for (size_t i = 0; i + 1 < segs.size(); ++i) {
        std::string_view seg = segs[i];
        size_t u = seg.find('_');
        if (u == std::string_view::npos) {
            cur = GetObjectProperty(cur, seg);
            if (!cur) return;
            continue;
        }
        std::string_view name = seg.substr(0, u);
        int n = 0;
        if ((name != "Items" && name != "Columns") || !ParseIndex(seg.substr(u + 1), n)) {
            last = seg; // the walk ends here and this segment is the one assigned
            break;
        }
        if (cur->InheritsFrom(vcl::TCollection::StaticClassInfo())) {
            auto* coll = static_cast<vcl::TCollection*>(cur);
            if (n < coll->Count()) cur = coll->GetItem(n);
        } else if (cur->InheritsFrom(vcl::TCustomListView::StaticClassInfo())) {
            auto* lv = static_cast<vcl::TCustomListView*>(cur);
            if (name == "Columns" && n < lv->Columns()->Count())
                cur = lv->Columns()->Items(n);
            else if (name == "Items" && n < lv->Items()->Count())
                cur = lv->Items()->Item(n);
        }
    }
    std::string name;
    int index = -1;
    SplitSegment(last, name, index);
    if (cur == component && index >= 0) {
        cur = GetObjectProperty(cur, name);
        if (!cur) return;
    }
    if (cur->InheritsFrom(rtl::TStrings::StaticClassInfo())) {
        if (index < 0) return;
        auto* s = static_cast<rtl::TStrings*>(cur);
        s->BeginUpdate();
        while (s->Count() <= index)
            s->Add("");
        s->Put(index, value);
        s->EndUpdate();
    } else if (cur->InheritsFrom(vcl::TListItem::StaticClassInfo()) && name == "Caption") {
        static_cast<vcl::TListItem*>(cur)->SetCaption(value);
    } else {
        SetPropertyByName(cur, name, value);
    }
}

// ---- Folders and message texts --------------------------------------------------------------

std::string LangFolder(TDesignType designType) {
    std::string path, ui;
    if (designType == TDesignType::dtServer) {
        TOrvaneIniS ini;
        path = ini.ServerPath;
        ui = ini.UICodePage;
    } else {
        TOrvaneIniC ini;
        path = ini.ClientPath;
        ui = ini.UICodePage;
    }
    rtl::TStringList codes;
    codes.SetText("936=CHS\r\n950=CHT\r\n437=ENG");
    const std::string code = ui.empty() ? std::string() : codes.Values(ui);
    // Without an installation path a folder would be taken relative to the working folder.
    if (code.empty() || path.empty()) return {};
    const std::string folder =
        win::IncludeTrailingPathDelimiter(path) + "MultiLanguage" + "/" + code + "/";
    return win::DirectoryExists(folder) ? folder : std::string();
}

std::string LookupLangText(TDesignType designType, const std::string& className,
                           const std::string& messageName, const std::string& def) {
    try {
        const std::string file = LangFolder(designType) + className + ".Lng";
        if (!win::FileExists(file)) return def;
        xml::Document doc = xml::Document::Create();
        if (!doc.Load(file)) return def;
        xml::Node n = doc.SelectSingleNode(rtl::Format("//%s/@%s", messageName.c_str(), "Msg"));
        return n ? n.Text() : def;
    } catch (const std::exception&) {
        return def;
    }
}

// ---- Readers --------------------------------------------------------------------------------

void TComponentRead::ReadAttribute(const xml::Node& attribute) {
    ApplyLangAttribute(FComponent, attribute.NodeName(), attribute.Text());
}

void TComponentRead::ReadAttributes() {
    const int count = FNode.AttributeCount();
    for (int i = 0; i < count; ++i)
        ReadAttribute(FNode.Attribute(i));
}

void TCustomComboBoxRead::ReadAttributes() {
    vcl::TComponent* c = Component();
    const rtl::TPropInfo* p = rtl::GetPropInfo(c, "ItemIndex");
    const bool keep = p && p->GetOrd && p->SetOrd;
    const int64_t index = keep ? p->GetOrd(c) : -1;
    TComponentRead::ReadAttributes();
    if (keep && p->GetOrd(c) != index) p->SetOrd(c, index);
}

std::unique_ptr<ILangRead> TReaderFactory::CreateReader(vcl::TComponent* component,
                                                        const xml::Node& node) {
    if (ClassChainHas(component, "TwwDBCustomComboBox"))
        return std::make_unique<TwwDBCustomComboBoxRead>(component, node);
    if (component->InheritsFrom(vcl::TCustomComboBox::StaticClassInfo()))
        return std::make_unique<TCustomComboBoxRead>(component, node);
    return std::make_unique<TComponentRead>(component, node);
}

TLangReader::TLangReader(xml::Document document, const rtl::TStrings& excludeControls,
                         TLoadComponentEvent beforeLoad, TLoadComponentEvent afterLoad)
    : FDocument(std::move(document)), FBeforeLoad(beforeLoad), FAfterLoad(afterLoad) {
    SetExcludeControls(excludeControls);
}

void TLangReader::SetExcludeControls(const rtl::TStrings& names) {
    FExcludeControls.Clear();
    for (int i = 0; i < names.Count(); ++i)
        FExcludeControls.Add(rtl::Trim(names[i]));
}

bool TLangReader::Excluded(const std::string& name) const {
    const std::string n = rtl::Trim(name);
    for (int i = 0; i < FExcludeControls.Count(); ++i)
        if (rtl::SameText(FExcludeControls[i], n)) return true;
    return false;
}

void TLangReader::Read(vcl::TComponent* component, const xml::Node& node) {
    FBeforeLoad(component, node);
    TReaderFactory::CreateReader(component, node)->ReadAttributes();
    FAfterLoad(component, node);
}

void TLangReader::Apply(vcl::TComponent* component) {
    if (!component) return;
    if (component->InheritsFrom(vcl::TCustomForm::StaticClassInfo()) ||
        ClassChainHas(component, "TDataModule"))
        if (xml::Node root = FDocument.DocumentElement()) Read(component, root);
    const std::string& name = component->Name();
    if (!name.empty() && !Excluded(name)) {
        xml::Node node;
        try {
            node = FDocument.SelectSingleNode(rtl::Format("//%s", name.c_str()));
        } catch (const xml::EXmlError&) {
            // a name no path can select has no element
        }
        if (node) Read(component, node);
    }
    for (int i = 0; i < component->ComponentCount(); ++i)
        Apply(component->Components(i));
}

// ---- The controller -------------------------------------------------------------------------

namespace {
const rtl::TTypeInfo* LangDesignTypeInfo() {
    static const rtl::TTypeInfo* t = rtl::EnumTypeInfo("TDesignType", {"dtClient", "dtServer"});
    return t;
}
} // namespace

RTL_BEGIN_CLASS(TLanguageController, vcl::TComponent)
c.Bool("Active", &TLanguageController::Active, &TLanguageController::SetActive);
c.Str("LangPackageName", &TLanguageController::LangPackageName,
      &TLanguageController::SetLangPackageName);
c.Enum("DesignType", &TLanguageController::DesignType, &TLanguageController::SetDesignType,
       LangDesignTypeInfo());
c.Obj("ExcludeControls", &TLanguageController::ExcludeControls,
      &TLanguageController::SetExcludeControls);
c.Event("BeforeOpen", &TLanguageController::FBeforeOpen);
c.Event("AfterOpen", &TLanguageController::FAfterOpen);
c.Event("BeforeClose", &TLanguageController::FBeforeClose);
c.Event("AfterClose", &TLanguageController::FAfterClose);
c.Event("BeforeLoadComponent", &TLanguageController::FBeforeLoadComponent, "TLoadComponentEvent");
c.Event("AfterLoadComponent", &TLanguageController::FAfterLoadComponent, "TLoadComponentEvent");
RTL_END_CLASS

RTL_BEGIN_CLASS(TKtLangController, TLanguageController)
RTL_END_CLASS

TLanguageController::TLanguageController(vcl::TComponent* owner)
    : vcl::TComponent(owner), FExcludeControls(std::make_unique<rtl::TStringList>()) {
    FExcludeControls->OnChange = rtl::MethodOf<&TLanguageController::ExcludeChanged>(this);
}

TLanguageController::~TLanguageController() = default;

bool TLanguageController::Active() const {
    return FDocument && FDocument.DocumentElement();
}

void TLanguageController::SetActive(bool value) {
    if (IsLoading()) {
        FStreamedActive = value;
        return;
    }
    if (value == Active()) return;
    if (value)
        Open();
    else
        Close();
}

void TLanguageController::Loaded() {
    vcl::TComponent::Loaded();
    if (FStreamedActive) SetActive(true);
}

void TLanguageController::Open() {
    FBeforeOpen(this);
    FReader.reset();
    FDocument = xml::Document();
    if (FPackageFileName.empty())
        throw LanguageControllerError(
            rtl::Format("Cannot Find File %s!", FPackageFileName.c_str()));
    xml::Document doc = xml::Document::Create();
    if (!doc.Load(FPackageFileName)) throw LanguageControllerError(doc.ParseError().Reason);
    FDocument = doc;
    FReader = std::make_unique<TLangReader>(FDocument, *FExcludeControls, FBeforeLoadComponent,
                                            FAfterLoadComponent);
    FAfterOpen(this);
}

void TLanguageController::Close() {
    FBeforeClose(this);
    FReader.reset();
    FDocument = xml::Document();
    FAfterClose(this);
}

void TLanguageController::SetLangPackageName(const std::string& value) {
    if (value == FLangPackageName) return;
    FLangPackageName = value;
    const std::string file = LangFolder(FDesignType) + value + ".Lng";
    if (file != FPackageFileName) {
        FPackageFileName = file;
        SetActive(false);
    }
}

void TLanguageController::SetExcludeControls(rtl::TStrings* value) {
    if (value) FExcludeControls->Assign(*value);
}

void TLanguageController::ExcludeChanged(rtl::TObject*) {
    if (FReader) FReader->SetExcludeControls(*FExcludeControls);
}

void TLanguageController::ApplyTo(vcl::TComponent* component) {
    if (!Active() || !FReader) throw LanguageControllerError("No active LanguageController!");
    FReader->Apply(component);
}
