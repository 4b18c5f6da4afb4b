#include "platform/rtl/Classes.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace rtl {

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo& info = BuildClassInfo<TObject>("TObject", nullptr, false, nullptr);
    return info;
}

const char* TObject::ClassName() const {
    return ClassInfo()->Name.c_str();
}
const TClassInfo* TObject::ClassParent() const {
    return ClassInfo()->Parent;
}
bool TObject::InheritsFrom(const TClassInfo& cls) const {
    return ClassInfo()->InheritsFrom(&cls);
}
bool TObject::ClassNameIs(std::string_view name) const {
    return SameText(ClassName(), name);
}

RTL_BEGIN_ABSTRACT_CLASS(TPersistent, TObject)
RTL_END_CLASS

void TPersistent::Assign(const TPersistent* source) {
    if (!source) throw EConvertError(Format("Cannot assign a nil to a %s", ClassName()));
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    throw EConvertError(
        Format("Cannot assign a %s to a %s", ClassName(), dest ? dest->ClassName() : "nil"));
}

RTL_BEGIN_ABSTRACT_CLASS(TStrings, TPersistent)
c.Str("Text", &TStrings::Text, &TStrings::SetText);
c.Str("CommaText", &TStrings::CommaText, &TStrings::SetCommaText);
RTL_END_CLASS

RTL_BEGIN_CLASS(TStringList, TStrings)
RTL_END_CLASS

void TStrings::Assign(const TPersistent* source) {
    if (source && source->InheritsFrom(TStrings::StaticClassInfo())) {
        Assign(*static_cast<const TStrings*>(source));
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::CheckIndex(int index, int count) const {
    if (index < 0 || index >= count)
        throw EStringListError(Format("List index out of bounds (%d)", index));
}

int TStrings::Add(const std::string& s) {
    int n = Count();
    Insert(n, s);
    return n;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
    int i = Add(s);
    PutObject(i, obj);
    return i;
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this) return;
    BeginUpdate();
    try {
        Clear();
        AddStrings(other);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::AddStrings(const TStrings& other) {
    // Copy first: other may be this list.
    std::vector<std::pair<std::string, TObject*>> items;
    for (int i = 0; i < other.Count(); ++i)
        items.emplace_back(other.Get(i), other.GetObject(i));
    for (auto& [s, o] : items)
        AddObject(s, o);
}

void TStrings::Move(int from, int to) {
    if (from == to) return;
    std::string s = Get(from);
    TObject* o = GetObject(from);
    Delete(from);
    Insert(to, s);
    PutObject(to, o);
}

void TStrings::Exchange(int a, int b) {
    std::string sa = Get(a), sb = Get(b);
    TObject *oa = GetObject(a), *ob = GetObject(b);
    Put(a, sb);
    PutObject(a, ob);
    Put(b, sa);
    PutObject(b, oa);
}

std::string TStrings::Text() const {
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        r += Get(i);
        r += "\r\n";
    }
    return r;
}

void TStrings::SetText(std::string_view text) {
    Clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t j = i;
        while (j < text.size() && text[j] != '\r' && text[j] != '\n')
            ++j;
        Add(std::string(text.substr(i, j - i)));
        if (j < text.size() && text[j] == '\r') ++j;
        if (j < text.size() && text[j] == '\n') ++j;
        i = j;
    }
}

std::string TStrings::DelimitedText(char delimiter, char quote) const {
    std::string r;
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = Get(i);
        bool needQuote = s.empty() && Count() > 1;
        for (char c : s)
            if (static_cast<unsigned char>(c) <= ' ' || c == delimiter || c == quote)
                needQuote = true;
        if (i) r += delimiter;
        if (needQuote) {
            r += quote;
            for (char c : s) {
                if (c == quote) r += quote;
                r += c;
            }
            r += quote;
        } else
            r += s;
    }
    return r;
}

std::string TStrings::CommaText() const {
    return DelimitedText(',', '"');
}

void TStrings::SetCommaText(std::string_view text) {
    Clear();
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ')
                item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipBlanks();
            if (i >= text.size()) Add("");
        }
    }
}

std::string TStrings::Names(int index) const {
    const std::string& s = Get(index);
    size_t p = s.find(NameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::ValueFromIndex(int index) const {
    const std::string& s = Get(index);
    size_t p = s.find(NameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(p + 1);
}

int TStrings::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = Get(i);
        size_t p = s.find(NameValueSeparator);
        if (p != std::string::npos && SameText(std::string_view(s).substr(0, p), name)) return i;
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
    int i = IndexOfName(name);
    std::string line = std::string(name) + NameValueSeparator + std::string(value);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i >= 0)
        Put(i, line);
    else
        Add(line);
}

int TStrings::IndexOfObject(const TObject* obj) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == obj) return i;
    return -1;
}

// ---------------------------------------------------------------------------------------------

TStringList::TStringList(const TStringList& other)
    : TStrings(other), Duplicates(other.Duplicates), CaseSensitive(other.CaseSensitive),
      FItems(other.FItems), FSorted(other.FSorted) {}

TStringList& TStringList::operator=(const TStringList& other) {
    if (this != &other) {
        Clear();
        Duplicates = other.Duplicates;
        CaseSensitive = other.CaseSensitive;
        FItems = other.FItems;
        FSorted = other.FSorted;
    }
    return *this;
}

TStringList::~TStringList() {
    OnChange = {};
    OnChanging = {};
    Clear();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0) OnChange(this);
}

int TStringList::Compare(std::string_view a, std::string_view b) const {
    if (CaseSensitive) return a.compare(b);
    return CompareText(a, b);
}

const std::string& TStringList::Get(int index) const {
    CheckIndex(index, Count());
    return FItems[size_t(index)].S;
}

void TStringList::Put(int index, const std::string& s) {
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
    CheckIndex(index, Count());
    Changing();
    FItems[size_t(index)].S = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index, Count());
    return FItems[size_t(index)].Obj;
}

void TStringList::PutObject(int index, TObject* obj) {
    CheckIndex(index, Count());
    Changing();
    FItems[size_t(index)].Obj = obj;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) {
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EStringListError(Format("List index out of bounds (%d)", index));
    Changing();
    FItems.insert(FItems.begin() + index, Item{s, nullptr});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    Changing();
    TObject* obj = FItems[size_t(index)].Obj;
    FItems.erase(FItems.begin() + index);
    if (OwnsObjects) delete obj;
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    std::vector<Item> old;
    old.swap(FItems);
    if (OwnsObjects)
        for (auto& it : old)
            delete it.Obj;
    Changed();
}

int TStringList::Add(const std::string& s) {
    if (!FSorted) {
        Changing();
        FItems.push_back(Item{s, nullptr});
        Changed();
        return Count() - 1;
    }
    int index;
    if (Find(s, index)) {
        if (Duplicates == TDuplicates::dupIgnore) return index;
        if (Duplicates == TDuplicates::dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    Changing();
    FItems.insert(FItems.begin() + index, Item{s, nullptr});
    Changed();
    return index;
}

int TStringList::IndexOf(std::string_view s) const {
    if (!FSorted) {
        for (int i = 0; i < Count(); ++i)
            if (Compare(FItems[size_t(i)].S, s) == 0) return i;
        return -1;
    }
    int index;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = Compare(FItems[size_t(mid)].S, s);
        if (c < 0)
            lo = mid + 1;
        else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != TDuplicates::dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.S, b.S) < 0; });
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (value && !FSorted) Sort();
    FSorted = value;
}

} // namespace rtl
