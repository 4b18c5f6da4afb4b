#include "platform/vcl/FormReader.h"

#include "platform/vcl/Collections.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/FormParser.h"
#include "platform/vcl/Graphics.h"

#include "platform/rtl/SysUtils.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace vcl {

namespace {

struct Resource {
    std::string Name;
    std::string Text;
};

struct ResourceStore {
    std::mutex Lock;
    std::map<std::string, Resource> ByClass; // lower-case class name
};

ResourceStore& Resources() {
    static ResourceStore* store = new ResourceStore;
    return *store;
}

struct Fixup {
    TObject* Target;
    const rtl::TPropInfo* Prop;
    std::string Name;
    int Line, Column;
};

class Reader {
public:
    Reader(TComponent* root, std::string resource, std::vector<TComponent*>& loaded)
        : FRoot(root), FRes(std::move(resource)), FLoaded(loaded) {}

    void ReadRoot(const TFormNode& node) {
        if (!ClassChainHas(FRoot->ClassInfo(), node.ClassName))
            Fail(node.Line, node.Column,
                 "the resource is for " + node.ClassName + ", not for " + FRoot->ClassName());
        // The most derived resource names the form.
        if (!node.Name.empty())
            Guard(node.Line, node.Column, node.Name, [&] { FRoot->SetName(node.Name); });
        Track(FRoot);
        ReadBody(node, FRoot);
        ResolveFixups();
    }

private:
    [[noreturn]] void Fail(int line, int column, const std::string& detail) const {
        throw EFormParseError(FRes, line, column, detail);
    }

    template <class F> void Guard(int line, int column, const std::string& what, F&& f) {
        try {
            f();
        } catch (const EFormParseError&) {
            throw;
        } catch (const std::exception& e) {
            Fail(line, column, "error reading " + what + ": " + e.what());
        }
    }

    static bool ClassChainHas(const TClassInfo* cls, std::string_view name) {
        for (const TClassInfo* c = cls; c; c = c->Parent)
            if (rtl::SameText(c->Name, name)) return true;
        return false;
    }

    void Track(TComponent* c) {
        if (std::find(FLoaded.begin(), FLoaded.end(), c) == FLoaded.end()) {
            c->BeginLoading();
            FLoaded.push_back(c);
        }
    }

    void ReadBody(const TFormNode& node, TComponent* comp) {
        for (const TFormProperty& p : node.Properties)
            ReadProperty(comp, p);
        for (const TFormNode& child : node.Children)
            ReadChild(child, comp);
    }

    void ReadChild(const TFormNode& node, TComponent* parent) {
        TComponent* comp = nullptr;
        if (node.Kind != TFormNodeKind::Object) {
            comp = FRoot->FindComponent(node.Name);
            if (!comp) Fail(node.Line, node.Column, "ancestor for '" + node.Name + "' not found");
            if (!ClassChainHas(comp->ClassInfo(), node.ClassName))
                Fail(node.Line, node.Column,
                     "'" + node.Name + "' is a " + comp->ClassName() + ", not a " + node.ClassName);
            Track(comp);
        } else {
            const TClassInfo* cls = rtl::GetClass(node.ClassName);
            if (!cls) Fail(node.Line, node.Column, "class " + node.ClassName + " not found");
            if (!cls->Create || !cls->InheritsFrom(&TComponent::StaticClassInfo()))
                Fail(node.Line, node.Column, "class " + node.ClassName + " cannot be created");
            if (!node.Name.empty() && FRoot->FindComponent(node.Name))
                Fail(node.Line, node.Column, "a component named " + node.Name + " already exists");
            Guard(node.Line, node.Column, node.ClassName,
                  [&] { comp = CreateComponent(*cls, FRoot); });
            Track(comp);
            Guard(node.Line, node.Column, node.Name, [&] { comp->SetName(node.Name); });
            BindField(node, comp);
            Guard(node.Line, node.Column, node.Name, [&] { comp->SetParentComponent(parent); });
        }
        ReadBody(node, comp);
    }

    void BindField(const TFormNode& node, TComponent* comp) {
        if (node.Name.empty()) return;
        const rtl::TFieldInfo* f = FRoot->ClassInfo()->FindField(node.Name);
        if (!f) return;
        const TClassInfo& want = f->FieldClass();
        if (!comp->InheritsFrom(want))
            Fail(node.Line, node.Column,
                 "field " + node.Name + " is a " + want.Name + ", the resource makes a " +
                     comp->ClassName());
        f->Set(FRoot, comp);
    }

    void ReadProperty(TObject* obj, const TFormProperty& p) {
        std::vector<std::string> path = rtl::SplitString(p.Name, ".");
        TObject* target = obj;
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            const rtl::TPropInfo* sub = rtl::GetPropInfo(target, path[i]);
            if (!sub || !sub->GetObj)
                Fail(p.Line, p.Column, "unknown property '" + p.Name + "' of " + obj->ClassName());
            target = sub->GetObj(target);
            if (!target)
                Fail(p.Line, p.Column,
                     "property '" + path[i] + "' of " + obj->ClassName() + " is nil");
        }
        const std::string& last = path.back();
        if (target->InheritsFrom(TStrings::StaticClassInfo()) && rtl::SameText(last, "Strings")) {
            ReadStrings(static_cast<TStrings*>(target), p);
            return;
        }
        if (p.Value.Kind == TFormValueKind::Binary && rtl::SameText(last, "Data") &&
            (target->InheritsFrom(TBitmap::StaticClassInfo()) ||
             target->InheritsFrom(TPicture::StaticClassInfo()))) {
            ReadGraphicData(target, p);
            return;
        }
        const rtl::TPropInfo* prop = rtl::GetPropInfo(target, last);
        if (!prop)
            Fail(p.Line, p.Column, "unknown property '" + p.Name + "' of " + obj->ClassName());
        if (p.Value.Kind == TFormValueKind::Collection) {
            ReadCollection(target, *prop, p);
            return;
        }
        Guard(p.Line, p.Column, p.Name, [&] { SetValue(target, *prop, p); });
    }

    void ReadStrings(TStrings* list, const TFormProperty& p) {
        if (p.Value.Kind != TFormValueKind::List)
            Fail(p.Line, p.Column, "a list of strings expected for " + p.Name);
        list->BeginUpdate();
        list->Clear();
        for (const TFormValue& v : p.Value.Items) {
            if (v.Kind != TFormValueKind::String)
                Fail(v.Line, v.Column, "a string expected in " + p.Name);
            list->Add(v.Text);
        }
        list->EndUpdate();
    }

    // "Columns = < item ... end >": the collection is emptied and refilled, each item's
    // properties read as those of a component.
    void ReadCollection(TObject* target, const rtl::TPropInfo& prop, const TFormProperty& p) {
        TObject* obj = prop.GetObj ? prop.GetObj(target) : nullptr;
        if (!obj || !obj->InheritsFrom(TCollection::StaticClassInfo()))
            Fail(p.Line, p.Column, "property '" + p.Name + "' is not a collection");
        auto* coll = static_cast<TCollection*>(obj);
        coll->BeginUpdate();
        try {
            Guard(p.Line, p.Column, p.Name, [&] { coll->Clear(); });
            for (const TFormCollectionItem& entry : p.Value.Collection) {
                TCollectionItem* item = nullptr;
                Guard(entry.Line, entry.Column, p.Name, [&] { item = coll->Add(); });
                for (const TFormProperty& ip : entry.Properties)
                    ReadProperty(item, ip);
            }
        } catch (...) {
            coll->EndUpdate();
            throw;
        }
        coll->EndUpdate();
    }

    // A bitmap stored as Delphi stores it: its size in four bytes (little-endian), then the
    // BMP file. A picture's data starts with the graphic's class name (a length byte first).
    void ReadGraphicData(TObject* target, const TFormProperty& p) {
        const std::vector<uint8_t>& b = p.Value.Bytes;
        size_t pos = 0;
        if (target->InheritsFrom(TPicture::StaticClassInfo())) {
            size_t n = b.empty() ? 0 : b[0];
            std::string cls(b.begin() + std::min<size_t>(1, b.size()),
                            b.begin() + std::min<size_t>(1 + n, b.size()));
            if (!rtl::SameText(cls, "TBitmap"))
                Fail(p.Value.Line, p.Value.Column,
                     "graphic class '" + cls + "' of " + p.Name + " is not supported");
            pos = 1 + n;
        }
        if (b.size() < pos + 4)
            Fail(p.Value.Line, p.Value.Column, "bitmap data of " + p.Name + " is cut short");
        uint32_t size = uint32_t(b[pos]) | uint32_t(b[pos + 1]) << 8 | uint32_t(b[pos + 2]) << 16 |
                        uint32_t(b[pos + 3]) << 24;
        pos += 4;
        if (size > b.size() - pos)
            Fail(p.Value.Line, p.Value.Column, "bitmap data of " + p.Name + " is cut short");
        TBitmap* bitmap = target->InheritsFrom(TPicture::StaticClassInfo())
                              ? static_cast<TPicture*>(target)->Bitmap()
                              : static_cast<TBitmap*>(target);
        if (size == 0) {
            bitmap->SetSize(0, 0);
            return;
        }
        QImage image;
        if (!image.loadFromData(b.data() + pos, int(size), "BMP"))
            Fail(p.Value.Line, p.Value.Column, "bitmap data of " + p.Name + " is not valid");
        Guard(p.Line, p.Column, p.Name, [&] { bitmap->SetImage(image); });
    }

    [[noreturn]] void Invalid(const TFormProperty& p, const rtl::TPropInfo& prop) const {
        Fail(p.Value.Line, p.Value.Column,
             "invalid value for property '" + p.Name + "' of type " + prop.PropType->Name);
    }

    void SetValue(TObject* target, const rtl::TPropInfo& prop, const TFormProperty& p) {
        const TFormValue& v = p.Value;
        const rtl::TTypeInfo* t = prop.PropType;
        if (prop.ReadOnly()) Fail(p.Line, p.Column, "property '" + p.Name + "' is read-only");
        switch (t->Kind) {
        case rtl::TTypeKind::tkInteger:
        case rtl::TTypeKind::tkInt64: {
            int64_t n;
            if (v.Kind == TFormValueKind::Integer)
                n = v.Integer;
            else if (v.Kind == TFormValueKind::Identifier && t->IdentToInt &&
                     t->IdentToInt(v.Text, n)) {
            } else
                Invalid(p, prop);
            if (n < t->MinValue || n > t->MaxValue) Invalid(p, prop);
            prop.SetOrd(target, n);
            return;
        }
        case rtl::TTypeKind::tkChar:
            if (v.Kind == TFormValueKind::String && v.Text.size() == 1)
                prop.SetOrd(target, static_cast<unsigned char>(v.Text[0]));
            else if (v.Kind == TFormValueKind::Integer && v.Integer >= 0 && v.Integer <= 255)
                prop.SetOrd(target, v.Integer);
            else
                Invalid(p, prop);
            return;
        case rtl::TTypeKind::tkEnumeration: {
            int e = v.Kind == TFormValueKind::Identifier ? t->EnumValue(v.Text) : -1;
            if (e < 0) Invalid(p, prop);
            prop.SetOrd(target, e);
            return;
        }
        case rtl::TTypeKind::tkSet: {
            if (v.Kind != TFormValueKind::Set) Invalid(p, prop);
            uint64_t bits = 0;
            for (const TFormValue& item : v.Items) {
                int e = item.Kind == TFormValueKind::Identifier ? t->EnumValue(item.Text) : -1;
                if (e < 0 || e >= 64)
                    Fail(item.Line, item.Column,
                         "'" + item.Text + "' is not an element of " + t->Name);
                bits |= uint64_t(1) << e;
            }
            prop.SetOrd(target, int64_t(bits));
            return;
        }
        case rtl::TTypeKind::tkFloat:
            if (v.Kind == TFormValueKind::Float)
                prop.SetFloat(target, v.Float);
            else if (v.Kind == TFormValueKind::Integer)
                prop.SetFloat(target, double(v.Integer));
            else
                Invalid(p, prop);
            return;
        case rtl::TTypeKind::tkString:
            if (v.Kind != TFormValueKind::String) Invalid(p, prop);
            prop.SetStr(target, v.Text);
            return;
        case rtl::TTypeKind::tkMethod: {
            if (v.Kind != TFormValueKind::Identifier) Invalid(p, prop);
            const rtl::TMethodEntry* m = FRoot->ClassInfo()->FindMethod(v.Text);
            if (!m)
                Fail(v.Line, v.Column,
                     "method '" + v.Text + "' not found in " + FRoot->ClassName());
            if (m->Signature != t->Signature)
                Fail(v.Line, v.Column,
                     "method '" + v.Text + "' does not fit event " + p.Name + " (" + t->Name + ")");
            prop.SetMethod(target, TMethod{m->Code, FRoot});
            return;
        }
        case rtl::TTypeKind::tkClass:
            if (v.Kind == TFormValueKind::Identifier) {
                FFixups.push_back(Fixup{target, &prop, v.Text, v.Line, v.Column});
                return;
            }
            Invalid(p, prop);
        default:
            Invalid(p, prop);
        }
    }

    TComponent* FindReference(const std::string& name) const {
        std::string n = name;
        size_t dot = n.find('.');
        if (dot != std::string::npos) {
            if (!rtl::SameText(n.substr(0, dot), FRoot->Name())) return nullptr;
            n = n.substr(dot + 1);
        }
        if (rtl::SameText(n, FRoot->Name())) return FRoot;
        return FRoot->FindComponent(n);
    }

    void ResolveFixups() {
        for (const Fixup& f : FFixups) {
            TComponent* c = FindReference(f.Name);
            if (!c) Fail(f.Line, f.Column, "unresolved reference to '" + f.Name + "'");
            const TClassInfo* want = f.Prop->PropType->ClassType();
            if (want && !c->InheritsFrom(*want))
                Fail(f.Line, f.Column,
                     "'" + f.Name + "' is a " + c->ClassName() + ", not a " + want->Name);
            Guard(f.Line, f.Column, f.Prop->Name, [&] { f.Prop->SetObj(f.Target, c); });
        }
    }

    TComponent* FRoot;
    std::string FRes;
    std::vector<TComponent*>& FLoaded;
    std::vector<Fixup> FFixups;
};

void EndLoadingAll(std::vector<TComponent*>& loaded) {
    for (TComponent* c : loaded)
        c->EndLoading();
}

} // namespace

void RegisterFormResource(std::string_view className, std::string_view resourceName,
                          std::string_view text) {
    ResourceStore& s = Resources();
    std::lock_guard<std::mutex> g(s.Lock);
    s.ByClass[rtl::LowerCase(className)] = Resource{std::string(resourceName), std::string(text)};
}

bool HasFormResource(std::string_view className) {
    ResourceStore& s = Resources();
    std::lock_guard<std::mutex> g(s.Lock);
    return s.ByClass.count(rtl::LowerCase(className)) != 0;
}

void ReadFormResource(TComponent* root, std::string_view text, std::string_view resourceName) {
    TFormNode tree = ParseFormText(text, resourceName);
    std::vector<TComponent*> loaded;
    try {
        Reader(root, std::string(resourceName), loaded).ReadRoot(tree);
    } catch (...) {
        for (TComponent* c : loaded)
            c->AbortLoading();
        throw;
    }
    EndLoadingAll(loaded);
}

bool InitInheritedComponent(TComponent* root) {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = root->ClassInfo(); c; c = c->Parent)
        chain.push_back(c);
    std::vector<Resource> resources;
    {
        ResourceStore& s = Resources();
        std::lock_guard<std::mutex> g(s.Lock);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            auto r = s.ByClass.find(rtl::LowerCase((*it)->Name));
            if (r != s.ByClass.end()) resources.push_back(r->second);
        }
    }
    // Loaded runs once, after the last resource, as the VCL's global loading does.
    std::vector<TComponent*> loaded;
    try {
        for (const Resource& r : resources) {
            TFormNode tree = ParseFormText(r.Text, r.Name);
            Reader(root, r.Name, loaded).ReadRoot(tree);
        }
    } catch (...) {
        for (TComponent* c : loaded)
            c->AbortLoading();
        throw;
    }
    EndLoadingAll(loaded);
    return !resources.empty();
}

} // namespace vcl
