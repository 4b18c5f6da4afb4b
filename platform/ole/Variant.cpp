#include "platform/ole/Variant.h"

#include "platform/ole/ComObj.h"
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <limits>

namespace ole {

// Array storage. Elements are laid out with the first dimension varying fastest, so that the
// last dimension is the slowest one and can grow or shrink without moving any element.
struct VarArrayData {
    struct Bound {
        int Low;
        int High;
    };
    uint16_t ElementType = varVariant;
    std::vector<Bound> Bounds;
    std::vector<Variant> Items;
};

// Reaches the private fields for the free array functions.
struct VariantAccess {
    static Variant MakeArray(std::shared_ptr<VarArrayData> data) {
        Variant v;
        v.FType = static_cast<uint16_t>(varArray | data->ElementType);
        v.FObj = std::move(data);
        return v;
    }
};

namespace {

// More elements than any variant array of the suite needs; it keeps a bad bound from turning
// into an allocation of gigabytes or an overflowing size.
constexpr int64_t MaxArrayElements = int64_t(1) << 24;

[[noreturn]] void CastError(uint16_t from, uint16_t to) {
    throw rtl::EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(from) +
                                     ") into type (" + VarTypeAsText(to) + ")");
}

[[noreturn]] void RangeError(uint16_t from, uint16_t to, const std::string& value) {
    throw rtl::EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(from) +
                                     ") into type (" + VarTypeAsText(to) + "): " + value +
                                     " is out of range");
}

[[noreturn]] void NotAnArray(uint16_t type) {
    throw rtl::EVariantError("Variant is not an array: variant of type (" + VarTypeAsText(type) +
                             ")");
}

// Delphi's Round: halves go to the even neighbour.
double BankersRound(double x) {
    double f = std::floor(x);
    double diff = x - f;
    if (diff > 0.5) return f + 1;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

int64_t RoundCurrency(int64_t scaled) {
    int64_t q = scaled / 10000, r = scaled % 10000;
    if (r > 5000 || (r == 5000 && (q & 1))) return q + 1;
    if (r < -5000 || (r == -5000 && (q & 1))) return q - 1;
    return q;
}

// A rounded double as int64, or nothing when it does not fit (NaN included).
bool DoubleToInt64(double d, int64_t& out) {
    double r = BankersRound(d);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return false;
    out = static_cast<int64_t>(r);
    return true;
}

std::string CurrencyToStr(Currency c) {
    // Exact from the scaled value: up to four decimals, trailing zeros dropped.
    uint64_t a = c.Scaled < 0 ? 0 - static_cast<uint64_t>(c.Scaled) : c.Scaled;
    std::string s = (c.Scaled < 0 ? "-" : "") + std::to_string(a / 10000);
    unsigned frac = static_cast<unsigned>(a % 10000);
    if (frac) {
        std::string f = rtl::Format("%04u", frac);
        while (f.back() == '0')
            f.pop_back();
        s += "." + f;
    }
    return s;
}

std::string DateToStr(double dt) {
    // DateTimeToStr: the short date, then the long time unless the time is midnight.
    std::string s = rtl::FormatDateTime(rtl::ShortDateFormat, dt);
    int h, n, sec, ms;
    rtl::DecodeTime(dt, h, n, sec, ms);
    if (h || n || sec) s += " " + rtl::FormatDateTime(rtl::LongTimeFormat, dt);
    return s;
}

bool TryTextToBool(std::string_view s, bool& out) {
    if (rtl::SameText(s, "True")) {
        out = true;
        return true;
    }
    if (rtl::SameText(s, "False")) {
        out = false;
        return true;
    }
    double d;
    if (rtl::TryStrToFloat(s, d)) {
        out = d != 0;
        return true;
    }
    return false;
}

bool TryTextToFloat(std::string_view s, double& out) {
    if (rtl::TryStrToFloat(s, out)) return true;
    int64_t i; // hexadecimal integers ("$1F") are numbers too
    if (!rtl::TryStrToInt64(s, i)) return false;
    out = static_cast<double>(i);
    return true;
}

bool ReadNumber(std::string_view s, size_t& i, int& out, int maxDigits) {
    size_t start = i;
    int v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - start < size_t(maxDigits))
        v = v * 10 + (s[i++] - '0');
    out = v;
    return i > start;
}

// A date and time text in the order of ShortDateFormat ("2026/3/4", "2026-03-04 5:06:07"),
// a date alone or a time alone.
bool TryTextToDate(std::string_view text, double& out) {
    std::string t = rtl::Trim(text);
    std::string_view s = t;
    size_t i = 0;
    double date = 0, time = 0;
    bool haveDate = false, haveTime = false;
    size_t colon = s.find(':');
    size_t space = s.find(' ');
    bool timeOnly = colon != std::string_view::npos &&
                    (space == std::string_view::npos || colon < space) &&
                    s.find_first_of("/-.") > colon;
    if (!timeOnly) {
        int parts[3];
        for (int k = 0; k < 3; ++k) {
            if (k > 0) {
                if (i >= s.size() ||
                    (s[i] != rtl::DateSeparator && s[i] != '/' && s[i] != '-' && s[i] != '.'))
                    return false;
                ++i;
            }
            if (!ReadNumber(s, i, parts[k], 4)) return false;
        }
        // Order of the fields as the short date format names them.
        std::string order;
        for (char c : rtl::LowerCase(rtl::ShortDateFormat))
            if ((c == 'y' || c == 'm' || c == 'd') && order.find(c) == std::string::npos)
                order += c;
        if (order.size() != 3) order = "ymd";
        int y = 0, m = 0, d = 0;
        for (int k = 0; k < 3; ++k)
            (order[k] == 'y' ? y : order[k] == 'm' ? m : d) = parts[k];
        if (y < 100) y += y < 50 ? 2000 : 1900;
        if (!rtl::TryEncodeDate(y, m, d, date)) return false;
        haveDate = true;
        while (i < s.size() && s[i] == ' ')
            ++i;
    }
    if (i < s.size()) {
        int h, n, sec = 0, ms = 0;
        if (!ReadNumber(s, i, h, 2) || i >= s.size() || s[i] != ':') return false;
        ++i;
        if (!ReadNumber(s, i, n, 2)) return false;
        if (i < s.size() && s[i] == ':') {
            ++i;
            if (!ReadNumber(s, i, sec, 2)) return false;
            if (i < s.size() && (s[i] == '.' || s[i] == ':')) {
                ++i;
                if (!ReadNumber(s, i, ms, 3)) return false;
            }
        }
        if (i != s.size() || h > 23 || n > 59 || sec > 59) return false;
        time = rtl::EncodeTime(h, n, sec, ms);
        haveTime = true;
    }
    if (!haveDate && !haveTime) return false;
    // Before day 0 the time counts away from zero, as in a TDateTime.
    out = date < 0 ? date - time : date + time;
    return true;
}

Variant ZeroOf(uint16_t elementType) {
    switch (elementType) {
    case varSmallint:
        return Variant::Smallint(0);
    case varInteger:
        return Variant(0);
    case varDouble:
        return Variant(0.0);
    case varCurrency:
        return Variant(Currency{});
    case varDate:
        return Variant::FromDate(0);
    case varOleStr:
        return Variant::OleStr("");
    case varString:
        return Variant(std::string());
    case varDispatch:
        return Variant(DispatchPtr());
    case varBoolean:
        return Variant(false);
    case varByte:
        return Variant::Byte(0);
    case varInt64:
        return Variant(int64_t(0));
    default:
        return Variant();
    }
}

bool ValidElementType(uint16_t t) {
    switch (t) {
    case varSmallint:
    case varInteger:
    case varDouble:
    case varCurrency:
    case varDate:
    case varOleStr:
    case varString:
    case varDispatch:
    case varBoolean:
    case varVariant:
    case varByte:
    case varInt64:
        return true;
    default:
        return false;
    }
}

bool IsIntegral(uint16_t t) {
    return t == varSmallint || t == varInteger || t == varByte || t == varInt64 || t == varBoolean;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction

Currency Currency::FromDouble(double v) {
    int64_t scaled;
    if (!DoubleToInt64(v * 10000.0, scaled)) RangeError(varDouble, varCurrency, rtl::FloatToStr(v));
    return Currency{scaled};
}

Variant::Variant(bool v) : FType(varBoolean) {
    FValue.b = v;
}
Variant::Variant(int v) : FType(varInteger) {
    FValue.i = v;
}
Variant::Variant(int64_t v) : FType(varInt64) {
    FValue.i64 = v;
}
Variant::Variant(double v) : FType(varDouble) {
    FValue.d = v;
}
Variant::Variant(Currency v) : FType(varCurrency) {
    FValue.i64 = v.Scaled;
}
Variant::Variant(const char* v) : FType(varString), FStr(v ? v : "") {}
Variant::Variant(std::string v) : FType(varString), FStr(std::move(v)) {}
Variant::Variant(std::string_view v) : FType(varString), FStr(v) {}
Variant::Variant(DispatchPtr v) : FType(varDispatch), FObj(std::move(v)) {}

Variant::Variant(const Variant& other) {
    CopyFrom(other);
}

Variant::Variant(Variant&& other) noexcept
    : FType(other.FType), FValue(other.FValue), FStr(std::move(other.FStr)),
      FObj(std::move(other.FObj)) {
    other.Release();
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        // other may live inside this variant's array: copy before letting go of it.
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        uint16_t type = other.FType;
        auto value = other.FValue;
        std::string str = std::move(other.FStr);
        std::shared_ptr<void> obj = std::move(other.FObj);
        other.Release();
        FType = type;
        FValue = value;
        FStr = std::move(str);
        FObj = std::move(obj); // may free the array other lived in; other is no longer used
    }
    return *this;
}

Variant::~Variant() = default;

void Variant::Release() {
    FType = varEmpty;
    FValue.i64 = 0;
    FStr.clear();
    FObj.reset();
}

void Variant::CopyFrom(const Variant& other) {
    FType = other.FType;
    FValue = other.FValue;
    FStr = other.FStr;
    FObj = other.FObj; // arrays are shared until one side writes
}

Variant Variant::Null() {
    Variant v;
    v.FType = varNull;
    return v;
}

Variant Variant::OleStr(std::string utf8) {
    Variant v(std::move(utf8));
    v.FType = varOleStr;
    return v;
}

Variant Variant::FromDate(double dayNumber) {
    Variant v(dayNumber);
    v.FType = varDate;
    return v;
}

Variant Variant::Smallint(int16_t value) {
    Variant v(static_cast<int>(value));
    v.FType = varSmallint;
    return v;
}

Variant Variant::Byte(uint8_t value) {
    Variant v(static_cast<int>(value));
    v.FType = varByte;
    return v;
}

Variant Variant::ByRef(Variant* target) {
    if (!target) throw rtl::EVariantError("Variant::ByRef needs a target variant");
    Variant v;
    v.FType = varByRef;
    v.FValue.ref = &target->Deref(); // a reference to a reference points at the final target
    return v;
}

// ---------------------------------------------------------------------------------------------
// Kinds

uint16_t Variant::VarType() const {
    if (FType == varByRef) return static_cast<uint16_t>(varByRef | FValue.ref->VarType());
    return FType;
}

bool Variant::IsArray() const {
    return (Deref().FType & varArray) != 0;
}

bool Variant::IsString() const {
    uint16_t t = Deref().FType;
    return t == varString || t == varOleStr;
}

bool Variant::IsNumeric() const {
    switch (Deref().FType) {
    case varSmallint:
    case varInteger:
    case varDouble:
    case varCurrency:
    case varBoolean:
    case varByte:
    case varInt64:
        return true;
    default:
        return false;
    }
}

Variant& Variant::Deref() {
    return FType == varByRef ? *FValue.ref : *this;
}
const Variant& Variant::Deref() const {
    return FType == varByRef ? *FValue.ref : *this;
}

// ---------------------------------------------------------------------------------------------
// Conversions

std::string Variant::AsString() const {
    if (FType == varByRef) return Deref().AsString();
    switch (FType) {
    case varEmpty:
        return "";
    case varBoolean:
        return FValue.b ? "True" : "False";
    case varSmallint:
    case varInteger:
    case varByte:
        return rtl::IntToStr(FValue.i);
    case varInt64:
        return rtl::IntToStr(FValue.i64);
    case varDouble:
        return rtl::FloatToStr(FValue.d);
    case varCurrency:
        return CurrencyToStr(Currency{FValue.i64});
    case varDate:
        return DateToStr(FValue.d);
    case varString:
    case varOleStr:
        return FStr;
    default:
        CastError(FType, varString);
    }
}

int64_t Variant::IntegerValue(uint16_t target) const {
    if (FType == varByRef) return Deref().IntegerValue(target);
    switch (FType) {
    case varEmpty:
        return 0;
    case varBoolean:
        return FValue.b ? -1 : 0;
    case varSmallint:
    case varInteger:
    case varByte:
        return FValue.i;
    case varInt64:
        return FValue.i64;
    case varCurrency:
        return RoundCurrency(FValue.i64);
    case varDouble:
    case varDate: {
        int64_t r;
        if (!DoubleToInt64(FValue.d, r)) RangeError(FType, target, rtl::FloatToStr(FValue.d));
        return r;
    }
    case varString:
    case varOleStr: {
        int64_t r;
        if (rtl::TryStrToInt64(FStr, r)) return r;
        double d;
        // A decimal text rounds as a Double would; "1E30" does not fit and is no integer.
        if (rtl::TryStrToFloat(FStr, d) && DoubleToInt64(d, r)) return r;
        throw rtl::EConvertError("'" + FStr + "' is not a valid integer value");
    }
    default:
        CastError(FType, target);
    }
}

int Variant::AsInteger() const {
    int64_t v = IntegerValue(varInteger);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
        const Variant& d = Deref();
        if (d.IsString()) throw rtl::EConvertError("'" + d.FStr + "' is not a valid integer value");
        RangeError(d.FType, varInteger, d.AsString());
    }
    return static_cast<int>(v);
}

int64_t Variant::AsInt64() const {
    return IntegerValue(varInt64);
}

double Variant::AsDouble() const {
    if (FType == varByRef) return Deref().AsDouble();
    switch (FType) {
    case varEmpty:
        return 0;
    case varBoolean:
        return FValue.b ? -1 : 0;
    case varSmallint:
    case varInteger:
    case varByte:
        return FValue.i;
    case varInt64:
        return static_cast<double>(FValue.i64);
    case varDouble:
    case varDate:
        return FValue.d;
    case varCurrency:
        return Currency{FValue.i64}.ToDouble();
    case varString:
    case varOleStr: {
        double d;
        if (TryTextToFloat(FStr, d)) return d;
        throw rtl::EConvertError("'" + FStr + "' is not a valid floating point value");
    }
    default:
        CastError(FType, varDouble);
    }
}

bool Variant::AsBoolean() const {
    if (FType == varByRef) return Deref().AsBoolean();
    switch (FType) {
    case varEmpty:
        return false;
    case varBoolean:
        return FValue.b;
    case varSmallint:
    case varInteger:
    case varByte:
        return FValue.i != 0;
    case varInt64:
    case varCurrency:
        return FValue.i64 != 0;
    case varDouble:
    case varDate:
        return FValue.d != 0;
    case varString:
    case varOleStr: {
        bool b;
        if (TryTextToBool(FStr, b)) return b;
        throw rtl::EConvertError("'" + FStr + "' is not a valid boolean value");
    }
    default:
        CastError(FType, varBoolean);
    }
}

double Variant::AsDate() const {
    if (FType == varByRef) return Deref().AsDate();
    switch (FType) {
    case varString:
    case varOleStr: {
        double d;
        if (TryTextToDate(FStr, d)) return d;
        throw rtl::EConvertError("'" + FStr + "' is not a valid date and time");
    }
    case varNull:
    case varDispatch:
        CastError(FType, varDate);
    default:
        if (FType & varArray) CastError(FType, varDate);
        return AsDouble();
    }
}

Currency Variant::AsCurrency() const {
    if (FType == varByRef) return Deref().AsCurrency();
    switch (FType) {
    case varCurrency:
        return Currency{FValue.i64};
    case varEmpty:
        return Currency{};
    case varBoolean:
        return Currency{FValue.b ? -10000 : 0};
    case varSmallint:
    case varInteger:
    case varByte:
        return Currency{int64_t(FValue.i) * 10000};
    case varInt64:
        if (FValue.i64 > std::numeric_limits<int64_t>::max() / 10000 ||
            FValue.i64 < std::numeric_limits<int64_t>::min() / 10000)
            RangeError(varInt64, varCurrency, rtl::IntToStr(FValue.i64));
        return Currency{FValue.i64 * 10000};
    case varDouble:
    case varDate: {
        int64_t scaled;
        if (!DoubleToInt64(FValue.d * 10000.0, scaled))
            RangeError(FType, varCurrency, rtl::FloatToStr(FValue.d));
        return Currency{scaled};
    }
    case varString:
    case varOleStr: {
        double d;
        if (!TryTextToFloat(FStr, d))
            throw rtl::EConvertError("'" + FStr + "' is not a valid floating point value");
        int64_t scaled;
        if (!DoubleToInt64(d * 10000.0, scaled)) RangeError(FType, varCurrency, FStr);
        return Currency{scaled};
    }
    default:
        CastError(FType, varCurrency);
    }
}

DispatchPtr Variant::AsDispatch() const {
    const Variant& v = Deref();
    if (v.FType != varDispatch) return nullptr;
    return std::static_pointer_cast<IDispatch>(v.FObj);
}

// ---------------------------------------------------------------------------------------------
// Array elements

VarArrayData* Variant::ArrayData() const {
    const Variant& v = Deref();
    return (v.FType & varArray) ? static_cast<VarArrayData*>(v.FObj.get()) : nullptr;
}

VarArrayData* Variant::MutableArrayData() {
    Variant& v = Deref();
    if (!(v.FType & varArray)) return nullptr;
    if (v.FObj.use_count() > 1)
        v.FObj = std::make_shared<VarArrayData>(*static_cast<VarArrayData*>(v.FObj.get()));
    return static_cast<VarArrayData*>(v.FObj.get());
}

namespace {

size_t ElementOffset(const VarArrayData& a, const int* indices, int count) {
    int dims = static_cast<int>(a.Bounds.size());
    if (count != dims)
        throw rtl::EVariantBadIndexError(rtl::Format(
            "Variant or safe array index out of bounds: %d %s for an array of %d %s", count,
            count == 1 ? "index" : "indices", dims, dims == 1 ? "dimension" : "dimensions"));
    size_t offset = 0, stride = 1;
    for (int k = 0; k < dims; ++k) {
        const auto& b = a.Bounds[k];
        if (indices[k] < b.Low || indices[k] > b.High)
            throw rtl::EVariantBadIndexError(rtl::Format(
                "Variant or safe array index out of bounds: index %d of dimension %d is "
                "outside %d..%d",
                indices[k], k + 1, b.Low, b.High));
        offset += static_cast<size_t>(int64_t(indices[k]) - b.Low) * stride;
        stride *= static_cast<size_t>(int64_t(b.High) - b.Low + 1);
    }
    return offset;
}

} // namespace

const Variant& Variant::At(const int* indices, int count) const {
    const VarArrayData* a = ArrayData();
    if (!a) NotAnArray(VarType());
    return a->Items[ElementOffset(*a, indices, count)];
}

Variant& Variant::At(const int* indices, int count) {
    if (!IsArray()) NotAnArray(VarType());
    VarArrayData* a = MutableArrayData();
    return a->Items[ElementOffset(*a, indices, count)];
}

const Variant& Variant::At(std::initializer_list<int> indices) const {
    return At(indices.begin(), static_cast<int>(indices.size()));
}

Variant& Variant::At(std::initializer_list<int> indices) {
    return At(indices.begin(), static_cast<int>(indices.size()));
}

const Variant& Variant::operator[](int index) const {
    return At(&index, 1);
}
Variant& Variant::operator[](int index) {
    return At(&index, 1);
}

// ---------------------------------------------------------------------------------------------
// Late binding

namespace {

IDispatch& DispatchOf(const Variant& v, std::string_view member) {
    DispatchPtr d = v.AsDispatch();
    if (!d)
        throw rtl::EOleError("Variant does not reference an automation object (type " +
                             VarTypeAsText(v.VarType()) + ", member " + std::string(member) + ")");
    return *d;
}

} // namespace

Variant Variant::Invoke(std::string_view method, std::vector<Variant> args) const {
    DispatchPtr keep = AsDispatch(); // the object stays alive through the call
    return DispatchOf(*this, method).Invoke(method, DispKind::Method, args);
}

Variant Variant::Get(std::string_view property, std::vector<Variant> args) const {
    DispatchPtr keep = AsDispatch();
    return DispatchOf(*this, property).Invoke(property, DispKind::PropertyGet, args);
}

void Variant::Set(std::string_view property, const Variant& value) const {
    DispatchPtr keep = AsDispatch();
    std::vector<Variant> args{value};
    DispatchOf(*this, property).Invoke(property, DispKind::PropertyPut, args);
}

// ---------------------------------------------------------------------------------------------
// Equality

bool Variant::operator==(const Variant& other) const {
    const Variant& a = Deref();
    const Variant& b = other.Deref();
    if (a.IsArray() || b.IsArray()) {
        const VarArrayData* x = a.ArrayData();
        const VarArrayData* y = b.ArrayData();
        if (!x || !y) return false;
        if (x == y) return true;
        if (x->Bounds.size() != y->Bounds.size()) return false;
        for (size_t k = 0; k < x->Bounds.size(); ++k)
            if (x->Bounds[k].Low != y->Bounds[k].Low || x->Bounds[k].High != y->Bounds[k].High)
                return false;
        return x->Items == y->Items;
    }
    uint16_t ta = a.FType, tb = b.FType;
    if (ta == varNull || tb == varNull) return ta == tb;
    if (ta == varDispatch || tb == varDispatch) return ta == tb && a.FObj == b.FObj;
    if (ta == varEmpty && tb == varEmpty) return true;
    if (ta == varEmpty || tb == varEmpty) {
        // Unassigned compares as the other side's zero: 0, "" or False.
        const Variant& v = ta == varEmpty ? b : a;
        return v.IsString() ? v.FStr.empty() : v == Variant(0);
    }
    bool sa = a.IsString(), sb = b.IsString();
    if (sa && sb) return a.FStr == b.FStr;
    if (sa || sb) {
        // Text against a number: the text is read as the other side's kind; a text that
        // cannot be read as one is simply different.
        const Variant& s = sa ? a : b;
        const Variant& n = sa ? b : a;
        double d;
        if (n.FType == varBoolean) {
            bool v;
            return TryTextToBool(s.FStr, v) && v == n.FValue.b;
        }
        if (n.FType == varDate) return TryTextToDate(s.FStr, d) && d == n.FValue.d;
        if (n.FType == varCurrency) {
            if (!TryTextToFloat(s.FStr, d)) return false;
            int64_t scaled;
            return DoubleToInt64(d * 10000.0, scaled) && scaled == n.FValue.i64;
        }
        return TryTextToFloat(s.FStr, d) && d == n.AsDouble();
    }
    if (IsIntegral(ta) && IsIntegral(tb))
        return a.IntegerValue(varInt64) == b.IntegerValue(varInt64);
    if (ta == varCurrency && tb == varCurrency) return a.FValue.i64 == b.FValue.i64;
    return a.AsDouble() == b.AsDouble();
}

// ---------------------------------------------------------------------------------------------
// Array functions

Variant VarArrayCreate(const std::vector<int>& bounds, uint16_t elementType) {
    if (bounds.empty() || bounds.size() % 2)
        throw rtl::EVariantArrayCreateError(rtl::Format(
            "Error creating variant array: bounds come in (low, high) pairs, got %zu values",
            bounds.size()));
    if (!ValidElementType(elementType))
        throw rtl::EVariantArrayCreateError("Error creating variant array: element type (" +
                                            VarTypeAsText(elementType) + ") is not supported");
    auto data = std::make_shared<VarArrayData>();
    data->ElementType = elementType;
    int64_t total = 1;
    for (size_t k = 0; k < bounds.size(); k += 2) {
        int low = bounds[k], high = bounds[k + 1];
        int64_t length = int64_t(high) - low + 1;
        if (length < 0)
            throw rtl::EVariantArrayCreateError(
                rtl::Format("Error creating variant array: bounds %d..%d of dimension %zu", low,
                            high, k / 2 + 1));
        total *= length;
        if (total > MaxArrayElements)
            throw rtl::EVariantArrayCreateError(
                rtl::Format("Error creating variant array: more than %lld elements",
                            static_cast<long long>(MaxArrayElements)));
        data->Bounds.push_back({low, high});
    }
    data->Items.assign(static_cast<size_t>(total), ZeroOf(elementType));
    return VariantAccess::MakeArray(std::move(data));
}

Variant VarArrayCreate(std::initializer_list<int> bounds, uint16_t elementType) {
    return VarArrayCreate(std::vector<int>(bounds), elementType);
}

Variant VarArrayOf(const std::vector<Variant>& items) {
    auto data = std::make_shared<VarArrayData>();
    data->Bounds.push_back({0, static_cast<int>(items.size()) - 1});
    data->Items = items;
    return VariantAccess::MakeArray(std::move(data));
}

Variant VarArrayOf(std::initializer_list<Variant> items) {
    return VarArrayOf(std::vector<Variant>(items));
}

bool VarIsArray(const Variant& v) {
    return v.IsArray();
}

int VarArrayDimCount(const Variant& v) {
    const VarArrayData* a = v.ArrayData();
    return a ? static_cast<int>(a->Bounds.size()) : 0;
}

namespace {

const VarArrayData::Bound& BoundOf(const Variant& v, int dim) {
    const VarArrayData* a = v.ArrayData();
    if (!a) NotAnArray(v.VarType());
    if (dim < 1 || dim > static_cast<int>(a->Bounds.size()))
        throw rtl::EVariantBadIndexError(
            rtl::Format("Variant or safe array index out of bounds: dimension %d of an array of "
                        "%zu",
                        dim, a->Bounds.size()));
    return a->Bounds[dim - 1];
}

} // namespace

int VarArrayLowBound(const Variant& v, int dim) {
    return BoundOf(v, dim).Low;
}
int VarArrayHighBound(const Variant& v, int dim) {
    return BoundOf(v, dim).High;
}

int VarArrayLength(const Variant& v, int dim) {
    const auto& b = BoundOf(v, dim);
    return b.High - b.Low + 1;
}

void VarArrayRedim(Variant& v, int highBound) {
    if (!v.IsArray()) NotAnArray(v.VarType());
    VarArrayData* a = v.MutableArrayData();
    auto& last = a->Bounds.back();
    int64_t length = int64_t(highBound) - last.Low + 1;
    if (length < 0)
        throw rtl::EVariantArrayCreateError(rtl::Format(
            "Error resizing variant array: high bound %d below low bound %d", highBound, last.Low));
    int64_t slice = 1;
    for (size_t k = 0; k + 1 < a->Bounds.size(); ++k)
        slice *= int64_t(a->Bounds[k].High) - a->Bounds[k].Low + 1;
    if (slice * length > MaxArrayElements)
        throw rtl::EVariantArrayCreateError(
            rtl::Format("Error resizing variant array: more than %lld elements",
                        static_cast<long long>(MaxArrayElements)));
    last.High = highBound;
    a->Items.resize(static_cast<size_t>(slice * length), ZeroOf(a->ElementType));
}

bool VarIsEmpty(const Variant& v) {
    return v.Deref().IsEmpty();
}
bool VarIsNull(const Variant& v) {
    return v.Deref().IsNull();
}

std::string VarToStr(const Variant& v) {
    const Variant& d = v.Deref();
    return d.IsNull() ? std::string() : d.AsString();
}

std::string VarTypeAsText(uint16_t type) {
    static const char* const names[] = {
        "Empty",   "Null",   "Smallint", "Integer", "Single",  "Double",   "Currency",
        "Date",    "OleStr", "Dispatch", "Error",   "Boolean", "Variant",  "Unknown",
        "Decimal", "$000F",  "ShortInt", "Byte",    "Word",    "LongWord", "Int64"};
    uint16_t base = type & varTypeMask;
    std::string s;
    if (base <= varInt64)
        s = names[base];
    else if (base == varString)
        s = "String";
    else if (base == 0x0101)
        s = "Any";
    else
        s = "$" + rtl::IntToHex(base, 4);
    if (type & varArray) s = "Array " + s;
    if (type & varByRef) s = "ByRef " + s;
    return s;
}

} // namespace ole
