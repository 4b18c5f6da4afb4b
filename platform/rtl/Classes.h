// TObject and the string lists of Delphi's Classes unit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// Root of the class tree. The component layer adds run-time type information on top.
class TObject {
public:
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// Lines of text with an optional object per line; "name=value" lines are read by name
// without regard to case. Text joins the lines with CR LF and splits at CR LF, LF or CR.
class TStrings : public TObject {
public:
    const char* ClassName() const override { return "TStrings"; }

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

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { --FUpdateCount; }
    int UpdateCount() const { return FUpdateCount; }

    char NameValueSeparator = '=';

protected:
    void CheckIndex(int index, int count) const;

private:
    int FUpdateCount = 0;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);
    ~TStringList() override;
    const char* ClassName() const override { return "TStringList"; }

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
