#include "platform/db/DB.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/CodePage.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>

namespace db {

using rtl::Format;

void DatabaseError(const std::string& message, const TComponent* component) {
    if (component && !component->Name().empty())
        throw EDatabaseError(component->Name() + ": " + message);
    throw EDatabaseError(message);
}

namespace {

struct TypeName {
    TFieldType Type;
    const char* Name;
};
constexpr TypeName TypeNames[] = {
    {TFieldType::ftUnknown, "Unknown"},   {TFieldType::ftString, "String"},
    {TFieldType::ftSmallint, "Smallint"}, {TFieldType::ftInteger, "Integer"},
    {TFieldType::ftBoolean, "Boolean"},   {TFieldType::ftFloat, "Float"},
    {TFieldType::ftDate, "Date"},         {TFieldType::ftDateTime, "DateTime"},
    {TFieldType::ftMemo, "Memo"},
};

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

size_t Utf8CharLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// The longest run of whole characters that takes at most maxBytes bytes in the system code
// page.
std::string CutToBytes(const std::string& text, int maxBytes) {
    if (maxBytes <= 0) return {};
    if (IsAscii(text))
        return text.size() <= size_t(maxBytes) ? text : text.substr(0, size_t(maxBytes));
    const int acp = win::GetACP();
    if (win::ByteLengthInCodePage(acp, text) <= maxBytes) return text;
    int bytes = 0;
    size_t i = 0;
    while (i < text.size()) {
        const size_t n =
            std::min(Utf8CharLength(static_cast<unsigned char>(text[i])), text.size() - i);
        const int b =
            n == 1 ? 1 : win::ByteLengthInCodePage(acp, std::string_view(text).substr(i, n));
        if (bytes + b > maxBytes) break;
        bytes += b;
        i += n;
    }
    return text.substr(0, i);
}

bool ParseDateTime(std::string_view text, double& out) {
    const std::string s = rtl::Trim(text);
    int part[6] = {0, 0, 0, 0, 0, 0};
    int count = 0;
    size_t i = 0;
    while (i < s.size() && count < 6) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
        int v = 0;
        size_t digits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 9) {
            v = v * 10 + (s[i++] - '0');
            ++digits;
        }
        part[count++] = v;
        if (i == s.size()) break;
        const char sep = s[i];
        const bool dateSep = sep == '/' || sep == '-' || sep == '.' || sep == rtl::DateSeparator;
        if (count < 3 ? !dateSep : count == 3 ? sep != ' ' : sep != ':') return false;
        ++i;
        while (count == 3 && i < s.size() && s[i] == ' ')
            ++i;
    }
    if (count != 3 && count != 5 && count != 6) return false;
    double date = 0;
    if (!rtl::TryEncodeDate(part[0], part[1], part[2], date)) return false;
    if (part[3] > 23 || part[4] > 59 || part[5] > 59) return false;
    out = date + (part[3] * 3600 + part[4] * 60 + part[5]) / 86400.0;
    return true;
}

} // namespace

const char* FieldTypeName(TFieldType type) {
    for (const auto& t : TypeNames)
        if (t.Type == type) return t.Name;
    return "Unknown";
}

bool FieldTypeFromName(std::string_view name, TFieldType& type) {
    for (const auto& t : TypeNames)
        if (rtl::SameText(name, t.Name)) {
            type = t.Type;
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------------------------
// The record store: one column per field, records in slots, an order of slots.

struct TDataSet::TStore {
    struct Column {
        bool Text = false;
        std::deque<std::string> S; // grows without moving the texts it holds
        std::vector<double> N;
        std::vector<uint8_t> Null;
    };
    std::vector<Column> Cols;
    std::vector<uint64_t> Ids; // 0 for a free slot
    std::vector<uint32_t> Free;
    std::vector<uint32_t> Order;
    uint64_t NextId = 1; // never reset, so that old bookmarks stay invalid

    void Reset(const std::vector<TField*>& fields) {
        Cols.clear();
        Ids.clear();
        Free.clear();
        Order.clear();
        Cols.resize(fields.size());
        for (size_t i = 0; i < fields.size(); ++i)
            Cols[i].Text = fields[i]->IsText();
    }
    void Clear() {
        for (auto& c : Cols) {
            c.S.clear();
            c.N.clear();
            c.Null.clear();
        }
        Ids.clear();
        Free.clear();
        Order.clear();
    }
    uint32_t NewSlot() {
        if (!Free.empty()) {
            const uint32_t s = Free.back();
            Free.pop_back();
            Ids[s] = NextId++;
            return s;
        }
        const auto s = static_cast<uint32_t>(Ids.size());
        Ids.push_back(NextId++);
        for (auto& c : Cols) {
            if (c.Text)
                c.S.emplace_back();
            else
                c.N.push_back(0);
            c.Null.push_back(1);
        }
        return s;
    }
    void FreeSlot(uint32_t s) {
        Ids[s] = 0;
        for (auto& c : Cols)
            if (c.Text) std::string().swap(c.S[s]);
        Free.push_back(s);
    }
    void Read(uint32_t slot, int col, TFieldValue& v) const {
        const Column& c = Cols[size_t(col)];
        v.Null = c.Null[slot] != 0;
        if (c.Text)
            v.Str = c.S[slot];
        else
            v.Num = c.N[slot];
    }
    void Take(uint32_t slot, int col, TFieldValue& v) {
        Column& c = Cols[size_t(col)];
        c.Null[slot] = v.Null;
        if (!c.Text)
            c.N[slot] = v.Null ? 0 : v.Num;
        else if (v.Null)
            c.S[slot].clear();
        else
            c.S[slot] = std::move(v.Str);
    }
    void Write(uint32_t slot, int col, const TFieldValue& v) {
        Column& c = Cols[size_t(col)];
        c.Null[slot] = v.Null;
        if (c.Text)
            c.S[slot] = v.Null ? std::string() : v.Str;
        else
            c.N[slot] = v.Null ? 0 : v.Num;
    }
};

// ---------------------------------------------------------------------------------------------
// TField

TField::TField(TComponent* owner) : TComponent(owner) {}
TField::TField(TComponent* owner, TFieldType type) : TComponent(owner), FDataType(type) {}

TField::~TField() {
    if (FDataSet) FDataSet->RemoveField(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
    if (dataSet == FDataSet) return;
    if (FDataSet) FDataSet->CheckInactive();
    if (dataSet) dataSet->CheckInactive();
    if (FDataSet) FDataSet->RemoveField(this);
    if (dataSet) dataSet->AddField(this);
}

void TField::SetParentComponent(TComponent* parent) {
    // A field read inside a dataset's block of a form resource belongs to that dataset.
    if (parent && parent->InheritsFrom(TDataSet::StaticClassInfo()))
        SetDataSet(static_cast<TDataSet*>(parent));
}

void TField::SetFieldName(const std::string& name) {
    if (FDataSet) FDataSet->CheckInactive();
    FFieldName = name;
}

void TField::SetSize(int size) {
    if (FDataSet) FDataSet->CheckInactive();
    FSize = size;
}

int TField::Index() const {
    if (!FDataSet) return -1;
    for (int i = 0; i < FDataSet->FieldCount(); ++i)
        if (FDataSet->Fields(i) == this) return i;
    return -1;
}

bool TField::CanModify() const {
    return !FReadOnly && FDataSet && FDataSet->CanModify();
}

void TField::Changed() {
    if (FDataSet && FDataSet->Active() && !IsLoading())
        FDataSet->DataEvent(TDataEvent::deLayoutChange);
}

void TField::ConvertError(const char* what, const std::string& text) const {
    DatabaseError(Format("'%s' is not a valid %s value for field '%s'", text.c_str(), what,
                         DisplayName().c_str()),
                  FDataSet);
}

void TField::CheckNumber(double) const {}

std::string TField::ValueToString(const TFieldValue& v) const {
    if (v.Null) return {};
    return IsText() ? v.Str : rtl::FloatToStr(v.Num);
}

void TField::StringToValue(const std::string& text, TFieldValue& v) const {
    v.Null = false;
    v.Str = text;
}

std::string TField::ValueToText(const TFieldValue& v, bool) const {
    return ValueToString(v);
}

ole::Variant TField::ValueToVariant(const TFieldValue& v) const {
    if (v.Null) return ole::Variant::Null();
    return IsText() ? ole::Variant(v.Str) : ole::Variant(v.Num);
}

namespace {
TFieldValue ReadOf(const TField* f, int index) {
    TFieldValue v;
    if (f->DataSet()) f->DataSet()->ReadValue(f, index, v);
    return v;
}
} // namespace

bool TField::IsNull() const {
    return ReadOf(this, -1).Null;
}

void TField::Store(TFieldValue v) {
    if (!FDataSet) DatabaseError(Format("Field '%s' has no dataset", DisplayName().c_str()));
    FDataSet->WriteValue(this, std::move(v));
}

void TField::Clear() {
    Store(TFieldValue{});
}

ole::Variant TField::AsVariant() const {
    return ValueToVariant(ReadOf(this, -1));
}

void TField::SetAsVariant(const ole::Variant& value) {
    const ole::Variant& v = value.Deref();
    if (v.IsNull() || v.IsEmpty()) return Clear();
    switch (FDataType) {
    case TFieldType::ftString:
    case TFieldType::ftMemo:
        return SetAsString(ole::VarToStr(v));
    case TFieldType::ftBoolean:
        return SetAsBoolean(v.AsBoolean());
    case TFieldType::ftDate:
    case TFieldType::ftDateTime:
        return SetAsDateTime(v.IsString() ? v.AsDate() : v.AsDouble());
    default:
        if (v.IsString()) return SetAsString(v.AsString());
        return SetAsFloat(v.AsDouble());
    }
}

std::string TField::AsString() const {
    return ValueToString(ReadOf(this, -1));
}

void TField::SetAsString(const std::string& value) {
    TFieldValue v;
    if (!value.empty() || IsText()) StringToValue(value, v);
    Store(std::move(v));
}

int TField::AsInteger() const {
    const TFieldValue v = ReadOf(this, -1);
    if (v.Null) return 0;
    if (IsText()) return rtl::StrToInt(rtl::Trim(v.Str));
    const double r = std::round(v.Num);
    if (r < INT32_MIN || r > INT32_MAX) throw rtl::ERangeError("Range check error");
    return static_cast<int>(r);
}

void TField::SetAsInteger(int value) {
    if (IsText()) return SetAsString(rtl::IntToStr(value));
    SetAsFloat(value);
}

double TField::AsFloat() const {
    const TFieldValue v = ReadOf(this, -1);
    if (v.Null) return 0;
    if (IsText()) return rtl::StrToFloat(v.Str);
    return v.Num;
}

void TField::SetAsFloat(double value) {
    if (IsText()) return SetAsString(rtl::FloatToStr(value));
    TFieldValue v;
    v.Null = false;
    v.Num = FDataType == TFieldType::ftBoolean ? (value != 0 ? 1 : 0) : value;
    if (FDataType == TFieldType::ftInteger || FDataType == TFieldType::ftSmallint)
        v.Num = std::round(value);
    CheckNumber(v.Num);
    Store(v);
}

bool TField::AsBoolean() const {
    const TFieldValue v = ReadOf(this, -1);
    if (v.Null) return false;
    if (IsText()) return !v.Str.empty() && std::strchr("YyTt1", v.Str[0]) != nullptr;
    return v.Num != 0;
}

void TField::SetAsBoolean(bool value) {
    if (IsText()) return SetAsString(value ? "True" : "False");
    SetAsFloat(value ? 1 : 0);
}

double TField::AsDateTime() const {
    const TFieldValue v = ReadOf(this, -1);
    if (v.Null) return 0;
    if (IsText()) {
        double d = 0;
        if (!ParseDateTime(v.Str, d)) ConvertError("date and time", v.Str);
        return d;
    }
    return v.Num;
}

void TField::SetAsDateTime(double value) {
    if (IsText()) return SetAsString(rtl::FormatDateTime("c", value));
    SetAsFloat(value);
}

std::string TField::GetText(bool displayText) const {
    const TFieldValue v = ReadOf(this, -1);
    if (OnGetText) {
        std::string text;
        OnGetText(const_cast<TField*>(this), text, displayText);
        return text;
    }
    return ValueToText(v, displayText);
}

void TField::SetText(const std::string& text) {
    if (OnSetText)
        OnSetText(this, text);
    else
        SetAsString(text);
}

ole::Variant TField::ValueOf(int index) const {
    return ValueToVariant(ReadOf(this, index));
}

std::string TField::TextOf(int index, bool displayText) const {
    if (!OnGetText || !FDataSet) return ValueToText(ReadOf(this, index), displayText);
    // The handler reads the field as the current record: let it see this one.
    struct Guard {
        int& Slot;
        int Old;
        ~Guard() { Slot = Old; }
    } guard{FDataSet->FViewIndex, FDataSet->FViewIndex};
    FDataSet->FViewIndex = index;
    return GetText(displayText);
}

// --- string and memo ---

TStringField::TStringField(TComponent* owner) : TField(owner, TFieldType::ftString) {
    FSize = 20;
}

void TStringField::StringToValue(const std::string& text, TFieldValue& v) const {
    v.Null = false;
    v.Str = CutToBytes(text, FSize);
}

TMemoField::TMemoField(TComponent* owner) : TField(owner, TFieldType::ftMemo) {}

std::string TMemoField::ValueToText(const TFieldValue& v, bool displayText) const {
    if (!displayText) return ValueToString(v);
    return v.Null || v.Str.empty() ? "(memo)" : "(MEMO)";
}

// --- numbers ---

ole::Variant TNumericField::ValueToVariant(const TFieldValue& v) const {
    if (v.Null) return ole::Variant::Null();
    if (FDataType == TFieldType::ftSmallint) return ole::Variant::Smallint(int16_t(v.Num));
    if (FDataType == TFieldType::ftInteger) return ole::Variant(static_cast<int>(v.Num));
    return ole::Variant(v.Num);
}

TIntegerField::TIntegerField(TComponent* owner) : TNumericField(owner, TFieldType::ftInteger) {}

std::string TIntegerField::ValueToString(const TFieldValue& v) const {
    return v.Null ? std::string() : rtl::IntToStr(static_cast<int64_t>(v.Num));
}

void TIntegerField::StringToValue(const std::string& text, TFieldValue& v) const {
    int64_t i = 0;
    double d = 0;
    if (rtl::TryStrToInt64(rtl::Trim(text), i))
        d = double(i);
    else if (!rtl::TryTextToFloat(text, d) || d != std::trunc(d))
        ConvertError("integer", text);
    CheckNumber(d);
    v.Null = false;
    v.Num = d;
}

std::string TIntegerField::ValueToText(const TFieldValue& v, bool displayText) const {
    if (v.Null) return {};
    const std::string& fmt = displayText ? DisplayFormat() : EditFormat();
    return fmt.empty() ? ValueToString(v) : rtl::FormatFloat(fmt, v.Num);
}

void TIntegerField::CheckNumber(double value) const {
    if (value < MinValue() || value > MaxValue())
        DatabaseError(
            Format("%s is not a valid value for field '%s'. The allowed range is %d to %d",
                   rtl::FloatToStr(value).c_str(), DisplayName().c_str(), MinValue(), MaxValue()),
            DataSet());
}

TSmallintField::TSmallintField(TComponent* owner) : TIntegerField(owner, TFieldType::ftSmallint) {}

TFloatField::TFloatField(TComponent* owner) : TNumericField(owner, TFieldType::ftFloat) {}

std::string TFloatField::ValueToString(const TFieldValue& v) const {
    return v.Null ? std::string() : rtl::FloatToStr(v.Num);
}

void TFloatField::StringToValue(const std::string& text, TFieldValue& v) const {
    double d = 0;
    if (!rtl::TryTextToFloat(text, d)) ConvertError("floating point", text);
    CheckNumber(d);
    v.Null = false;
    v.Num = d;
}

std::string TFloatField::ValueToText(const TFieldValue& v, bool displayText) const {
    if (v.Null) return {};
    // The edit text falls back to the display format, as the VCL does; the reading of typed
    // numbers accepts the thousands separators that format may add.
    const std::string& fmt = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    return fmt.empty() ? rtl::FloatToStr(v.Num) : rtl::FormatFloat(fmt, v.Num);
}

void TFloatField::CheckNumber(double value) const {
    if (!std::isfinite(value)) ConvertError("floating point", rtl::FloatToStr(value));
}

// --- booleans ---

TBooleanField::TBooleanField(TComponent* owner) : TField(owner, TFieldType::ftBoolean) {}

void TBooleanField::SetDisplayValues(const std::string& values) {
    const size_t p = values.find(';');
    if (p == std::string::npos || p == 0 || p + 1 == values.size())
        DatabaseError(Format("'%s' is not a valid boolean display value for field '%s'",
                             values.c_str(), DisplayName().c_str()),
                      DataSet());
    FDisplayValues = values;
    FTrue = values.substr(0, p);
    FFalse = values.substr(p + 1);
    Changed();
}

std::string TBooleanField::ValueToString(const TFieldValue& v) const {
    return v.Null ? std::string() : v.Num != 0 ? FTrue : FFalse;
}

void TBooleanField::StringToValue(const std::string& text, TFieldValue& v) const {
    const std::string t = rtl::Trim(text);
    auto starts = [&](const std::string& word) {
        return !t.empty() && t.size() <= word.size() && rtl::SameText(word.substr(0, t.size()), t);
    };
    v.Null = false;
    if (starts(FTrue))
        v.Num = 1;
    else if (starts(FFalse))
        v.Num = 0;
    else
        ConvertError("boolean", text);
}

ole::Variant TBooleanField::ValueToVariant(const TFieldValue& v) const {
    return v.Null ? ole::Variant::Null() : ole::Variant(v.Num != 0);
}

// --- dates ---

TDateTimeField::TDateTimeField(TComponent* owner) : TField(owner, TFieldType::ftDateTime) {}

std::string TDateTimeField::ValueToString(const TFieldValue& v) const {
    return v.Null ? std::string() : rtl::FormatDateTime(DefaultFormat(), v.Num);
}

void TDateTimeField::StringToValue(const std::string& text, TFieldValue& v) const {
    double d = 0;
    if (!ParseDateTime(text, d)) ConvertError("date and time", text);
    v.Null = false;
    v.Num = FDataType == TFieldType::ftDate ? std::floor(d) : d;
}

std::string TDateTimeField::ValueToText(const TFieldValue& v, bool displayText) const {
    if (v.Null) return {};
    if (displayText && !FDisplayFormat.empty()) return rtl::FormatDateTime(FDisplayFormat, v.Num);
    return ValueToString(v);
}

ole::Variant TDateTimeField::ValueToVariant(const TFieldValue& v) const {
    return v.Null ? ole::Variant::Null() : ole::Variant::FromDate(v.Num);
}

TDateField::TDateField(TComponent* owner) : TDateTimeField(owner, TFieldType::ftDate) {}

const rtl::TClassInfo* FieldClassOf(TFieldType type) {
    switch (type) {
    case TFieldType::ftString:
        return &TStringField::StaticClassInfo();
    case TFieldType::ftSmallint:
        return &TSmallintField::StaticClassInfo();
    case TFieldType::ftInteger:
        return &TIntegerField::StaticClassInfo();
    case TFieldType::ftBoolean:
        return &TBooleanField::StaticClassInfo();
    case TFieldType::ftFloat:
        return &TFloatField::StaticClassInfo();
    case TFieldType::ftDate:
        return &TDateField::StaticClassInfo();
    case TFieldType::ftDateTime:
        return &TDateTimeField::StaticClassInfo();
    case TFieldType::ftMemo:
        return &TMemoField::StaticClassInfo();
    default:
        return nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Field definitions

TField* TFieldDef::CreateField(TComponent* owner, TDataSet* dataSet) const {
    const rtl::TClassInfo* cls = FieldClassOf(DataType);
    if (!cls) DatabaseError(Format("Field '%s' is of an unknown type", Name.c_str()), dataSet);
    auto* field = static_cast<TField*>(vcl::CreateComponent(*cls, owner));
    field->SetFieldName(Name);
    if (DataType == TFieldType::ftString) field->SetSize(Size > 0 ? Size : 20);
    field->SetRequired(Required);
    field->SetDataSet(dataSet);
    return field;
}

TFieldDef& TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
    if (IndexOf(name) >= 0) DatabaseError(Format("Duplicate field name '%s'", name.c_str()));
    FItems.push_back(TFieldDef{name, type, size, required});
    return FItems.back();
}

int TFieldDefs::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (rtl::SameText(FItems[i].Name, name)) return int(i);
    return -1;
}

// ---------------------------------------------------------------------------------------------
// TDataSet

TDataSet::TDataSet(TComponent* owner) : TComponent(owner), FStore(std::make_unique<TStore>()) {}

TDataSet::~TDataSet() {
    DetachAll();
}

void TDataSet::DetachAll() {
    // Quietly: no events while the dataset goes away.
    FState = TDataSetState::dsInactive;
    for (TDataSource* s : std::vector<TDataSource*>(FDataSources))
        s->SetDataSet(nullptr);
    for (TField* f : FFields)
        f->FDataSet = nullptr;
    FFields.clear();
    const std::vector<TField*> own = std::move(FOwnFields);
    FOwnFields.clear();
    for (TField* f : own)
        f->Free();
}

void TDataSet::CheckActive() const {
    if (!Active()) DatabaseError("Cannot perform this operation on a closed dataset", this);
}

void TDataSet::CheckInactive() const {
    if (Active()) DatabaseError("Cannot perform this operation on an open dataset", this);
}

TField* TDataSet::FindField(std::string_view name) const {
    for (TField* f : FFields)
        if (rtl::SameText(f->FieldName(), name)) return f;
    return nullptr;
}

TField* TDataSet::FieldByName(std::string_view name) const {
    TField* f = FindField(name);
    if (!f) DatabaseError("Field '" + std::string(name) + "' not found", this);
    return f;
}

std::vector<TField*> TDataSet::FieldList(std::string_view names) const {
    std::vector<TField*> out;
    for (const std::string& n : rtl::SplitString(names, ";")) {
        const std::string t = rtl::Trim(n);
        if (!t.empty()) out.push_back(FieldByName(t));
    }
    return out;
}

void TDataSet::AddField(TField* field) {
    FFields.push_back(field);
    field->FDataSet = this;
    field->FColumn = -1;
}

void TDataSet::RemoveField(TField* field) {
    FFields.erase(std::remove(FFields.begin(), FFields.end(), field), FFields.end());
    FOwnFields.erase(std::remove(FOwnFields.begin(), FOwnFields.end(), field), FOwnFields.end());
    field->FDataSet = nullptr;
    field->FColumn = -1;
}

void TDataSet::AddDataSource(TDataSource* source) {
    FDataSources.push_back(source);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), source),
                       FDataSources.end());
}

void TDataSet::CreateFields() {
    if (FFields.empty()) {
        for (int i = 0; i < FFieldDefs.Count(); ++i) {
            TField* f = FFieldDefs.Items(i).CreateField(this, this);
            FOwnFields.push_back(f);
        }
    }
    for (size_t i = 0; i < FFields.size(); ++i)
        FFields[i]->FColumn = int(i);
    FStore->Reset(FFields);
}

void TDataSet::DestroyFields() {
    for (TField* f : FFields)
        f->FColumn = -1;
    for (TField* f : std::vector<TField*>(FOwnFields))
        f->Free(); // removes itself
    FOwnFields.clear();
}

void TDataSet::SetActive(bool value) {
    if (IsLoading()) {
        FStreamedActive = value;
        return;
    }
    if (value)
        Open();
    else
        Close();
}

void TDataSet::Loaded() {
    TComponent::Loaded();
    if (FStreamedActive) {
        FStreamedActive = false;
        Open();
    }
}

void TDataSet::Open() {
    if (Active()) return;
    DoEvent(BeforeOpen);
    try {
        InitFieldDefs();
        CreateFields();
        FState = TDataSetState::dsBrowse; // the subclass fills the store through AppendRecord
        InternalOpen();
        const std::vector<TField*> keys = SortKeys();
        if (!keys.empty()) SortRecords(keys);
    } catch (...) {
        FState = TDataSetState::dsInactive;
        FStore->Clear();
        DestroyFields();
        throw;
    }
    FState = TDataSetState::dsInactive;
    FCurrent = FStore->Order.empty() ? -1 : 0;
    FBof = true;
    FEof = FStore->Order.empty();
    FModified = false;
    SetState(TDataSetState::dsBrowse);
    DoEvent(AfterOpen);
}

void TDataSet::Close() {
    if (!Active()) return;
    DoEvent(BeforeClose);
    FBuffer.clear();
    SetState(TDataSetState::dsInactive);
    InternalClose();
    FStore->Clear();
    FCurrent = -1;
    FBof = FEof = true;
    DestroyFields();
    DoEvent(AfterClose);
}

void TDataSet::SetState(TDataSetState state) {
    if (FState == state) return;
    FState = state;
    FModified = false;
    DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::ReadValue(const TField* field, int index, TFieldValue& out) const {
    const int col = field->FColumn;
    if (col < 0 || !Active()) {
        out = TFieldValue{};
        return;
    }
    if (index < 0) index = FViewIndex;
    if (FState == TDataSetState::dsInsert) {
        // The rows as shown: the new record sits where it is being inserted.
        if (index < 0 || index == FInsertPos) {
            out = FBuffer[size_t(col)];
            return;
        }
        if (index > FInsertPos) --index;
    } else if (FState == TDataSetState::dsEdit && (index < 0 || index == FCurrent)) {
        out = FBuffer[size_t(col)];
        return;
    }
    if (index < 0) index = FCurrent;
    if (index < 0 || index >= int(FStore->Order.size())) {
        out = TFieldValue{};
        return;
    }
    FStore->Read(FStore->Order[size_t(index)], col, out);
}

void TDataSet::WriteValue(TField* field, TFieldValue value) {
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        DatabaseError("Dataset not in edit or insert mode", this);
    if (field->ReadOnly())
        DatabaseError("Field '" + field->DisplayName() + "' cannot be modified", this);
    const int col = field->FColumn;
    if (col < 0) DatabaseError("Field '" + field->DisplayName() + "' is not bound", this);
    TFieldValue& slot = FBuffer[size_t(col)];
    if (field->OnValidate) {
        // The handler reads the new value through the field; a refusal puts the old one back.
        TFieldValue old = std::move(slot);
        slot = std::move(value);
        try {
            field->OnValidate(field);
        } catch (...) {
            FBuffer[size_t(col)] = std::move(old);
            throw;
        }
    } else {
        slot = std::move(value);
    }
    FModified = true;
    DataEvent(TDataEvent::deFieldChange, field);
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int info) {
    if (event == TDataEvent::deFieldChange && field) field->OnChange(field);
    if (FDisableCount > 0) return;
    for (TDataSource* s : std::vector<TDataSource*>(FDataSources))
        s->DataEvent(event, field, info);
}

void TDataSet::DisableControls() {
    if (FDisableCount++ == 0) FDisableState = FState;
}

void TDataSet::EnableControls() {
    if (FDisableCount == 0) return;
    if (--FDisableCount > 0) return;
    if (FDisableState != FState) DataEvent(TDataEvent::deUpdateState);
    if (Active()) DataEvent(TDataEvent::deDataSetChange);
}

// --- navigation ---

bool TDataSet::IsEmpty() const {
    return FStore->Order.empty() && FState != TDataSetState::dsInsert;
}

int TDataSet::RecordCount() const {
    return Active() ? int(FStore->Order.size()) : 0;
}

int TDataSet::DisplayRecordCount() const {
    return RecordCount() + (FState == TDataSetState::dsInsert ? 1 : 0);
}

int TDataSet::RecNo() const {
    if (FState == TDataSetState::dsInsert) return FInsertPos + 1;
    return FCurrent + 1;
}

void TDataSet::SetRecNo(int recNo) {
    CheckBrowseMode();
    MoveBy(recNo - RecNo());
}

void TDataSet::First() {
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    FCurrent = FStore->Order.empty() ? -1 : 0;
    FBof = true;
    FEof = FStore->Order.empty();
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterScroll);
}

void TDataSet::Last() {
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    while (FetchMore()) {
    }
    FCurrent = int(FStore->Order.size()) - 1;
    FEof = true;
    FBof = FStore->Order.empty();
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterScroll);
}

void TDataSet::Next() {
    MoveBy(1);
}

void TDataSet::Prior() {
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance) {
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    int moved = 0;
    if ((distance > 0 && !FEof) || (distance < 0 && !FBof)) {
        FBof = FEof = false;
        int target = FCurrent + distance;
        while (target >= int(FStore->Order.size()) && FetchMore()) {
        }
        const int count = int(FStore->Order.size());
        if (target >= count) {
            target = count - 1;
            FEof = true;
        }
        if (target < 0) {
            target = count > 0 ? 0 : -1;
            FBof = true;
        }
        moved = target - FCurrent;
        FCurrent = target;
        if (moved != 0) DataEvent(TDataEvent::deDataSetScroll, nullptr, moved);
    }
    DoEvent(AfterScroll);
    return moved;
}

// --- editing ---

void TDataSet::StartBuffer(int insertPos) {
    FBuffer.assign(FStore->Cols.size(), TFieldValue{});
    FInsertPos = insertPos;
}

void TDataSet::Edit() {
    if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) return;
    CheckActive();
    if (FStore->Order.empty()) return Insert();
    if (!CanModify()) DatabaseError("Cannot modify a read-only dataset", this);
    DoEvent(BeforeEdit);
    const uint32_t slot = FStore->Order[size_t(FCurrent)];
    FBuffer.assign(FStore->Cols.size(), TFieldValue{});
    for (size_t c = 0; c < FBuffer.size(); ++c)
        FStore->Read(slot, int(c), FBuffer[c]);
    SetState(TDataSetState::dsEdit);
    DataEvent(TDataEvent::deRecordChange);
    DoEvent(AfterEdit);
}

void TDataSet::Insert() {
    CheckBrowseMode();
    if (!CanModify()) DatabaseError("Cannot modify a read-only dataset", this);
    DoEvent(BeforeInsert);
    DoEvent(BeforeScroll);
    StartBuffer(FCurrent < 0 ? 0 : FCurrent);
    SetState(TDataSetState::dsInsert);
    try {
        DoEvent(OnNewRecord);
    } catch (...) {
        FBuffer.clear();
        SetState(TDataSetState::dsBrowse);
        throw;
    }
    FModified = false;
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterInsert);
    DoEvent(AfterScroll);
}

void TDataSet::Append() {
    CheckBrowseMode();
    if (!CanModify()) DatabaseError("Cannot modify a read-only dataset", this);
    DoEvent(BeforeInsert);
    DoEvent(BeforeScroll);
    while (FetchMore()) {
    }
    StartBuffer(int(FStore->Order.size()));
    SetState(TDataSetState::dsInsert);
    try {
        DoEvent(OnNewRecord);
    } catch (...) {
        FBuffer.clear();
        SetState(TDataSetState::dsBrowse);
        throw;
    }
    FModified = false;
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterInsert);
    DoEvent(AfterScroll);
}

int TDataSet::SortedPosition(uint32_t slot, const std::vector<TField*>& keys) const {
    const auto& order = FStore->Order;
    auto it = std::upper_bound(order.begin(), order.end(), slot, [&](uint32_t a, uint32_t b) {
        return CompareRecords(a, b, keys) < 0;
    });
    return int(it - order.begin());
}

void TDataSet::Post() {
    UpdateRecord();
    DataEvent(TDataEvent::deCheckBrowseMode);
    DoEvent(BeforePost);
    for (TField* f : FFields)
        if (f->Required() && f->FColumn >= 0 && FBuffer[size_t(f->FColumn)].Null)
            DatabaseError("Field '" + f->DisplayName() + "' must have a value", this);
    auto& order = FStore->Order;
    const std::vector<TField*> keys = SortKeys();
    const bool sorted = !keys.empty();
    uint32_t slot;
    int pos;
    if (FState == TDataSetState::dsEdit) {
        slot = order[size_t(FCurrent)];
        pos = FCurrent;
        if (sorted) order.erase(order.begin() + pos);
    } else {
        slot = FStore->NewSlot();
        pos = std::clamp(FInsertPos, 0, int(order.size()));
    }
    for (size_t c = 0; c < FBuffer.size(); ++c)
        FStore->Take(slot, int(c), FBuffer[c]); // the buffer is done with
    if (sorted) pos = SortedPosition(slot, keys);
    if (sorted || FState == TDataSetState::dsInsert) order.insert(order.begin() + pos, slot);
    FCurrent = pos;
    FBof = FEof = false;
    FBuffer.clear();
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterPost);
}

void TDataSet::Cancel() {
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
    DoEvent(BeforeCancel);
    FBuffer.clear();
    SetState(TDataSetState::dsBrowse);
    if (FCurrent >= int(FStore->Order.size())) FCurrent = int(FStore->Order.size()) - 1;
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterCancel);
}

void TDataSet::Delete() {
    CheckActive();
    if (FState == TDataSetState::dsInsert) return Cancel();
    if (FStore->Order.empty())
        DatabaseError("Cannot perform this operation on an empty dataset", this);
    DataEvent(TDataEvent::deCheckBrowseMode);
    DoEvent(BeforeDelete);
    DoEvent(BeforeScroll);
    if (FState == TDataSetState::dsEdit) {
        FBuffer.clear();
        SetState(TDataSetState::dsBrowse);
    }
    auto& order = FStore->Order;
    const uint32_t slot = order[size_t(FCurrent)];
    order.erase(order.begin() + FCurrent);
    FStore->FreeSlot(slot);
    if (FCurrent >= int(order.size())) FCurrent = int(order.size()) - 1;
    FBof = FEof = order.empty();
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterDelete);
    DoEvent(AfterScroll);
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(TDataEvent::deCheckBrowseMode);
    if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) {
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::UpdateRecord() {
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        DatabaseError("Dataset not in edit or insert mode", this);
    DataEvent(TDataEvent::deUpdateRecord);
}

void TDataSet::EmptyDataSet() {
    CheckActive();
    if (FState != TDataSetState::dsBrowse) Cancel();
    for (uint32_t s : FStore->Order)
        FStore->FreeSlot(s);
    FStore->Order.clear();
    FCurrent = -1;
    FBof = FEof = true;
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::AppendRecord(const std::vector<TFieldValue>& values) {
    const uint32_t slot = FStore->NewSlot();
    for (size_t c = 0; c < values.size() && c < FStore->Cols.size(); ++c)
        FStore->Write(slot, int(c), values[c]);
    FStore->Order.push_back(slot);
    if (FCurrent < 0 && FState == TDataSetState::dsBrowse && FEof) {
        // Records arriving into an empty open dataset: the first becomes current.
        FCurrent = 0;
        FEof = false;
    }
}

int TDataSet::CompareRecords(uint32_t a, uint32_t b, const std::vector<TField*>& keys) const {
    for (const TField* f : keys) {
        const auto& c = FStore->Cols[size_t(f->FColumn)];
        const bool na = c.Null[a], nb = c.Null[b];
        if (na || nb) {
            if (na != nb) return na ? -1 : 1;
            continue;
        }
        if (c.Text) {
            const int r = c.S[a].compare(c.S[b]);
            if (r != 0) return r < 0 ? -1 : 1;
        } else if (c.N[a] != c.N[b]) {
            return c.N[a] < c.N[b] ? -1 : 1;
        }
    }
    return 0;
}

void TDataSet::SortRecords(const std::vector<TField*>& keys) {
    auto& order = FStore->Order;
    const bool hasCurrent = FCurrent >= 0 && FCurrent < int(order.size());
    const uint32_t current = hasCurrent ? order[size_t(FCurrent)] : 0;
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return CompareRecords(a, b, keys) < 0; });
    if (hasCurrent) FCurrent = int(std::find(order.begin(), order.end(), current) - order.begin());
}

// --- bookmarks, locate ---

TBookmark TDataSet::GetBookmark() const {
    if (!Active() || FCurrent < 0 || FCurrent >= int(FStore->Order.size())) return {};
    const uint32_t slot = FStore->Order[size_t(FCurrent)];
    return TBookmark{FStore->Ids[slot], slot};
}

bool TDataSet::BookmarkValid(const TBookmark& b) const {
    return Active() && b.Id != 0 && b.Slot < FStore->Ids.size() && FStore->Ids[b.Slot] == b.Id;
}

int TDataSet::PositionOf(const TBookmark& b) const {
    if (!BookmarkValid(b)) return -1;
    const auto& order = FStore->Order;
    if (FCurrent >= 0 && FCurrent < int(order.size()) && order[size_t(FCurrent)] == b.Slot)
        return FCurrent;
    auto it = std::find(order.begin(), order.end(), b.Slot);
    return it == order.end() ? -1 : int(it - order.begin());
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    CheckBrowseMode();
    const int pos = PositionOf(bookmark);
    if (pos < 0) DatabaseError("Record not found", this);
    DoEvent(BeforeScroll);
    FCurrent = pos;
    FBof = FEof = false;
    DataEvent(TDataEvent::deDataSetChange);
    DoEvent(AfterScroll);
}

std::vector<TFieldValue> TDataSet::KeyValues(const std::vector<TField*>& keys,
                                             const ole::Variant& values) const {
    const ole::Variant& v = values.Deref();
    std::vector<ole::Variant> items;
    if (ole::VarIsArray(v)) {
        for (int i = ole::VarArrayLowBound(v, 1); i <= ole::VarArrayHighBound(v, 1); ++i)
            items.push_back(v[i]);
    } else {
        items.push_back(v);
    }
    if (items.size() != keys.size())
        DatabaseError(Format("%d key fields but %d values", int(keys.size()), int(items.size())),
                      this);
    std::vector<TFieldValue> out(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        const ole::Variant& item = items[i].Deref();
        if (item.IsNull() || item.IsEmpty()) continue;
        out[i].Null = false;
        if (keys[i]->IsText())
            out[i].Str = ole::VarToStr(item);
        else if (keys[i]->DataType() == TFieldType::ftBoolean)
            out[i].Num = item.AsBoolean();
        else
            out[i].Num = item.AsDouble();
    }
    return out;
}

bool TDataSet::MatchRecord(uint32_t slot, const std::vector<TField*>& keys,
                           const std::vector<TFieldValue>& values, TLocateOptions options) const {
    const bool noCase = options.Contains(TLocateOption::loCaseInsensitive);
    const bool partial = options.Contains(TLocateOption::loPartialKey);
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto& c = FStore->Cols[size_t(keys[i]->FColumn)];
        const TFieldValue& k = values[i];
        if (c.Null[slot] || k.Null) {
            if (!(c.Null[slot] && k.Null)) return false;
            continue;
        }
        if (c.Text) {
            const std::string& s = c.S[slot];
            if (partial) {
                if (s.size() < k.Str.size()) return false;
                const std::string_view head(s.data(), k.Str.size());
                if (noCase ? !rtl::SameText(head, k.Str) : head != k.Str) return false;
            } else if (noCase ? !rtl::SameText(s, k.Str) : s != k.Str) {
                return false;
            }
        } else if (c.N[slot] != k.Num) {
            return false;
        }
    }
    return true;
}

bool TDataSet::Locate(std::string_view keyFields, const ole::Variant& values,
                      TLocateOptions options) {
    CheckBrowseMode();
    const std::vector<TField*> keys = FieldList(keyFields);
    const std::vector<TFieldValue> key = KeyValues(keys, values);
    while (FetchMore()) {
    }
    const auto& order = FStore->Order;
    for (size_t i = 0; i < order.size(); ++i) {
        if (!MatchRecord(order[i], keys, key, options)) continue;
        DoEvent(BeforeScroll);
        FCurrent = int(i);
        FBof = FEof = false;
        DataEvent(TDataEvent::deDataSetChange);
        DoEvent(AfterScroll);
        return true;
    }
    return false;
}

ole::Variant TDataSet::Lookup(std::string_view keyFields, const ole::Variant& values,
                              std::string_view resultFields) {
    CheckBrowseMode();
    const std::vector<TField*> keys = FieldList(keyFields);
    const std::vector<TField*> results = FieldList(resultFields);
    const std::vector<TFieldValue> key = KeyValues(keys, values);
    while (FetchMore()) {
    }
    const auto& order = FStore->Order;
    for (size_t i = 0; i < order.size(); ++i) {
        if (!MatchRecord(order[i], keys, key, {})) continue;
        if (results.size() == 1) return results[0]->ValueOf(int(i));
        std::vector<ole::Variant> row;
        for (TField* f : results)
            row.push_back(f->ValueOf(int(i)));
        return ole::VarArrayOf(row);
    }
    return ole::Variant::Null();
}

// ---------------------------------------------------------------------------------------------
// Data links

TDataLink::~TDataLink() {
    if (FDataSource) FDataSource->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == FDataSource) return;
    if (FDataSource) FDataSource->RemoveLink(this);
    if (source) source->AddLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const {
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

bool TDataLink::Edit() {
    if (!ReadOnly && FDataSource) FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord() {
    FUpdating = true;
    try {
        UpdateData();
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TDataLink::UpdateState() {
    const bool active = FDataSource && FDataSource->State() != TDataSetState::dsInactive;
    if (active != FActive) {
        FActive = active;
        if (!active) FEditing = false;
        ActiveChanged();
    }
    const TDataSetState s = FDataSource ? FDataSource->State() : TDataSetState::dsInactive;
    const bool editing =
        active && !ReadOnly && (s == TDataSetState::dsEdit || s == TDataSetState::dsInsert);
    if (editing != FEditing) {
        FEditing = editing;
        EditingChanged();
    }
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int info) {
    if (event == TDataEvent::deUpdateState) return UpdateState();
    if (!FActive) return;
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
        if (!FUpdating) RecordChanged(field);
        break;
    case TDataEvent::deDataSetChange:
        DataSetChanged();
        break;
    case TDataEvent::deDataSetScroll:
        DataSetScrolled(info);
        break;
    case TDataEvent::deLayoutChange:
        LayoutChanged();
        break;
    case TDataEvent::deUpdateRecord:
        UpdateRecord();
        break;
    case TDataEvent::deCheckBrowseMode:
        CheckBrowseMode();
        break;
    default:
        break;
    }
}

void TFieldDataLink::SetFieldName(const std::string& name) {
    if (name == FFieldName) return;
    FFieldName = name;
    UpdateField();
}

void TFieldDataLink::UpdateField() {
    FField = Active() && !FFieldName.empty() ? DataSet()->FieldByName(FFieldName) : nullptr;
    RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly && FField && FField->CanModify();
}

void TFieldDataLink::Reset() {
    RecordChanged(nullptr);
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    OnActiveChange(Sender());
}

void TFieldDataLink::EditingChanged() {
    OnEditingChange(Sender());
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (field && field != FField) return;
    FModified = false;
    OnDataChange(Sender());
}

void TFieldDataLink::UpdateData() {
    if (!FModified) return;
    if (FField) OnUpdateData(Sender());
    FModified = false;
}

// ---------------------------------------------------------------------------------------------
// TDataSource

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
    if (FDataSet) FDataSet->RemoveDataSource(this);
    FDataSet = nullptr;
    for (TDataLink* l : std::vector<TDataLink*>(FLinks)) {
        l->FDataSource = nullptr;
        l->UpdateState();
    }
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == FDataSet) return;
    if (FDataSet) FDataSet->RemoveDataSource(this);
    FDataSet = dataSet;
    if (FDataSet) FDataSet->AddDataSource(this);
    const TDataSetState before = FState;
    DataEvent(TDataEvent::deUpdateState, nullptr, 0);
    // From one open dataset to another the state may not change, but the data did.
    if (FEnabled && before == FState && FState != TDataSetState::dsInactive)
        NotifyLinks(TDataEvent::deLayoutChange, nullptr, 0);
}

void TDataSource::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    DataEvent(TDataEvent::deUpdateState, nullptr, 0);
}

TDataSetState TDataSource::State() const {
    return FEnabled && FDataSet ? FDataSet->State() : TDataSetState::dsInactive;
}

void TDataSource::Edit() {
    if (FAutoEdit && State() == TDataSetState::dsBrowse) FDataSet->Edit();
}

void TDataSource::AddLink(TDataLink* link) {
    FLinks.push_back(link);
    link->FDataSource = this;
}

void TDataSource::RemoveLink(TDataLink* link) {
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), link), FLinks.end());
    link->FDataSource = nullptr;
}

void TDataSource::NotifyLinks(TDataEvent event, TField* field, int info) {
    for (TDataLink* l : std::vector<TDataLink*>(FLinks))
        if (std::find(FLinks.begin(), FLinks.end(), l) != FLinks.end())
            l->DataEvent(event, field, info);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int info) {
    if (event == TDataEvent::deUpdateState) {
        const TDataSetState s = State();
        if (s == FState) return;
        FState = s;
        NotifyLinks(event, field, info);
        OnStateChange(this);
        return;
    }
    if (!FEnabled) return;
    NotifyLinks(event, field, info);
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange:
        OnDataChange(this, event == TDataEvent::deFieldChange ? field : nullptr);
        break;
    case TDataEvent::deUpdateRecord:
        OnUpdateData(this);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Published properties

RTL_BEGIN_ABSTRACT_CLASS(TField, TComponent)
c.Str("FieldName", &TField::FieldName, &TField::SetFieldName);
c.Str("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel);
c.Int("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth);
c.Bool("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly);
c.Bool("Visible", &TField::Visible, &TField::SetVisible);
c.Bool("Required", &TField::Required, &TField::SetRequired);
c.Int("Size", &TField::Size, &TField::SetSize);
c.Event("OnChange", &TField::OnChange, "TFieldNotifyEvent");
c.Event("OnValidate", &TField::OnValidate, "TFieldNotifyEvent");
c.Event("OnGetText", &TField::OnGetText, "TFieldGetTextEvent");
c.Event("OnSetText", &TField::OnSetText, "TFieldSetTextEvent");
RTL_END_CLASS

RTL_BEGIN_CLASS(TStringField, TField)
RTL_END_CLASS
RTL_BEGIN_CLASS(TMemoField, TField)
RTL_END_CLASS
RTL_BEGIN_ABSTRACT_CLASS(TNumericField, TField)
c.Str("DisplayFormat", &TNumericField::DisplayFormat, &TNumericField::SetDisplayFormat);
c.Str("EditFormat", &TNumericField::EditFormat, &TNumericField::SetEditFormat);
RTL_END_CLASS
RTL_BEGIN_CLASS(TIntegerField, TNumericField)
RTL_END_CLASS
RTL_BEGIN_CLASS(TSmallintField, TIntegerField)
RTL_END_CLASS
RTL_BEGIN_CLASS(TFloatField, TNumericField)
RTL_END_CLASS
RTL_BEGIN_CLASS(TBooleanField, TField)
c.Str("DisplayValues", &TBooleanField::DisplayValues, &TBooleanField::SetDisplayValues);
RTL_END_CLASS
RTL_BEGIN_CLASS(TDateTimeField, TField)
c.Str("DisplayFormat", &TDateTimeField::DisplayFormat, &TDateTimeField::SetDisplayFormat);
RTL_END_CLASS
RTL_BEGIN_CLASS(TDateField, TDateTimeField)
RTL_END_CLASS

RTL_BEGIN_ABSTRACT_CLASS(TDataSet, TComponent)
c.Bool("Active", &TDataSet::Active, &TDataSet::SetActive);
c.Event("BeforeOpen", &TDataSet::BeforeOpen, "TDataSetNotifyEvent");
c.Event("AfterOpen", &TDataSet::AfterOpen, "TDataSetNotifyEvent");
c.Event("BeforeClose", &TDataSet::BeforeClose, "TDataSetNotifyEvent");
c.Event("AfterClose", &TDataSet::AfterClose, "TDataSetNotifyEvent");
c.Event("BeforeInsert", &TDataSet::BeforeInsert, "TDataSetNotifyEvent");
c.Event("AfterInsert", &TDataSet::AfterInsert, "TDataSetNotifyEvent");
c.Event("BeforeEdit", &TDataSet::BeforeEdit, "TDataSetNotifyEvent");
c.Event("AfterEdit", &TDataSet::AfterEdit, "TDataSetNotifyEvent");
c.Event("BeforePost", &TDataSet::BeforePost, "TDataSetNotifyEvent");
c.Event("AfterPost", &TDataSet::AfterPost, "TDataSetNotifyEvent");
c.Event("BeforeCancel", &TDataSet::BeforeCancel, "TDataSetNotifyEvent");
c.Event("AfterCancel", &TDataSet::AfterCancel, "TDataSetNotifyEvent");
c.Event("BeforeDelete", &TDataSet::BeforeDelete, "TDataSetNotifyEvent");
c.Event("AfterDelete", &TDataSet::AfterDelete, "TDataSetNotifyEvent");
c.Event("BeforeScroll", &TDataSet::BeforeScroll, "TDataSetNotifyEvent");
c.Event("AfterScroll", &TDataSet::AfterScroll, "TDataSetNotifyEvent");
c.Event("OnNewRecord", &TDataSet::OnNewRecord, "TDataSetNotifyEvent");
RTL_END_CLASS

RTL_BEGIN_CLASS(TDataSource, TComponent)
c.Obj("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
c.Bool("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled);
c.Bool("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit);
c.Event("OnDataChange", &TDataSource::OnDataChange, "TDataChangeEvent");
c.Event("OnStateChange", &TDataSource::OnStateChange);
c.Event("OnUpdateData", &TDataSource::OnUpdateData);
RTL_END_CLASS

} // namespace db
