// TObject and the string lists of Delphi's Classes unit.
#pragma once

#include "platform/rtl/TypInfo.h"

#include <string>
#include <string_view>
#include <vector>

namespace rtl {

struct TClassInfo;

// In a class declaration: the class's own type information and its Delphi-style class name.
#define RTL_DECLARE_CLASS(Class, Parent)                                                           \
public:                                                                                            \
    using inherited = Parent;                                                                      \
    static const rtl::TClassInfo& StaticClassInfo();                                               \
    const rtl::TClassInfo* ClassInfo() const override {                                            \
        return &StaticClassInfo();                                                                 \
    }                                                                                              \
                                                                                                   \
private:

// Root of the class tree: class name, class chain and the construction hooks Delphi runs once
// the most derived constructor has finished.
class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo* ClassInfo() const { return &StaticClassInfo(); }
    const char* ClassName() const;
    const TClassInfo* ClassParent() const;
    bool InheritsFrom(const TClassInfo& cls) const;
    bool ClassNameIs(std::string_view name) const;
    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}
};

// Creates an object by class: the constructor, then AfterConstruction; an error in
// AfterConstruction frees the object again and passes on.
template <class C> C* CreateObject(TObject* owner) {
    C* obj = new C(static_cast<typename C::OwnerType*>(owner));
    try {
        obj->AfterConstruction();
    } catch (...) {
        delete obj;
        throw;
    }
    return obj;
}

// Objects that can copy themselves from another of a fitting class.
class TPersistent : public TObject {
    RTL_DECLARE_CLASS(TPersistent, TObject)
public:
    // Copies from source; EConvertError "Cannot assign a TFoo to a TBar" when neither side
    // knows how.
    virtual void Assign(const TPersistent* source);
    // The name under which a property path is shown ("Font" of "Button1.Font").
    virtual std::string GetNamePath() const { return ClassName(); }

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// Lines of text with an optional object per line; "name=value" lines are read by name
// without regard to case. Text joins the lines with CR LF and splits at CR LF, LF or CR.
class TStrings : public TPersistent {
    RTL_DECLARE_CLASS(TStrings, TPersistent)
public:
    void Assign(const TPersistent* source) override;

    virtual int Count() const = 0;
    virtual const std::string& Get(int index) const = 0;
    virtual void Put(int index, const std::string& s) = 0;
    virtual TObject* GetObject(int index) const = 0;
    virtual void PutObject(int index, TObject* obj) = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* obj);
    virtual int IndexOf(std::string_view s) const;
    void Assign(const TStrings& other);
    void AddStrings(const TStrings& other);
    void Move(int from, int to);
    void Exchange(int a, int b);

    const std::string& operator[](int index) const { return Get(index); }
    std::string Text() const;
    void SetText(std::string_view text);
    std::string CommaText() const;
    void SetCommaText(std::string_view text);
    std::string DelimitedText(char delimiter = ',', char quote = '"') const;

    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(std::string_view name) const;
    void SetValue(std::string_view name, std::string_view value);
    int IndexOfName(std::string_view name) const;
    int IndexOfObject(const TObject* obj) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    char NameValueSeparator = '=';

protected:
    void CheckIndex(int index, int count) const;
    // Told when the first BeginUpdate starts (true) and the last EndUpdate ends (false).
    virtual void SetUpdateState(bool /*updating*/) {}

private:
    int FUpdateCount = 0;
};

class TStringList : public TStrings {
    RTL_DECLARE_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);
    ~TStringList() override;

    int Count() const override { return static_cast<int>(FItems.size()); }
    const std::string& Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    int IndexOf(std::string_view s) const override;

    // Binary search of a sorted list; index is where s is or would go.
    bool Find(std::string_view s, int& index) const;
    void Sort();
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates = TDuplicates::dupIgnore;
    bool CaseSensitive = false;
    // When true the list frees the objects it holds on delete, clear and destruction.
    bool OwnsObjects = false;
    // Before and after every change, unless an update is pending (then once at its end).
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void SetUpdateState(bool updating) override;
    void Changing();
    void Changed();

private:
    struct Item {
        std::string S;
        TObject* Obj = nullptr;
    };
    int Compare(std::string_view a, std::string_view b) const;
    std::vector<Item> FItems;
    bool FSorted = false;
};

} // namespace rtl
