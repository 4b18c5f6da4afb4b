// OLE variants: the value type that crosses every module boundary of the suite (host parameter
// arrays, condition data, server calls). Kinds and conversions follow Delphi's Variants unit.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ole {

class IDispatch;
using DispatchPtr = std::shared_ptr<IDispatch>;

// Delphi's variant type codes (VarType results). varArray is or-ed onto the element type.
enum : uint16_t {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varDispatch = 0x0009,
    varError = 0x000A,
    varBoolean = 0x000B,
    varVariant = 0x000C,
    varUnknown = 0x000D,
    varShortInt = 0x0010,
    varByte = 0x0011,
    varWord = 0x0012,
    varLongWord = 0x0013,
    varInt64 = 0x0014,
    varString = 0x0100,
    varTypeMask = 0x0FFF,
    varArray = 0x2000,
    varByRef = 0x4000,
};

struct VarArrayData;

// Currency: a fixed-point number with four decimals, kept as its value × 10000.
struct Currency {
    int64_t Scaled = 0;
    static Currency FromDouble(double v);
    double ToDouble() const { return static_cast<double>(Scaled) / 10000.0; }
};

class Variant {
public:
    Variant() = default; // Empty
    Variant(bool v);
    Variant(int v);
    Variant(int64_t v);
    Variant(double v);
    Variant(Currency v);
    Variant(const char* v);        // varString
    Variant(std::string v);        // varString
    Variant(std::string_view v);   // varString
    Variant(DispatchPtr v);        // varDispatch (a null pointer gives an unassigned dispatch)
    Variant(const Variant& other); // arrays are copied on write: value semantics as in Delphi
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    static Variant Null();
    static Variant OleStr(std::string utf8); // varOleStr: a wide string, held as UTF-8
    static Variant FromDate(double dayNumber);
    static Variant Smallint(int16_t v);
    static Variant Byte(uint8_t v);
    // A by-reference argument for a late-bound call: the callee reads and writes *target.
    static Variant ByRef(Variant* target);

    uint16_t VarType() const; // the kind, with varArray / varByRef flags where they apply
    uint16_t BaseType() const { return VarType() & varTypeMask; }
    bool IsEmpty() const { return FType == varEmpty; }
    bool IsNull() const { return FType == varNull; }
    bool IsArray() const;
    bool IsString() const; // varString or varOleStr
    // Ordinal or floating kinds as Delphi's VarIsNumeric counts them (Boolean included,
    // Date not).
    bool IsNumeric() const;
    bool IsByRef() const { return FType == varByRef; }

    // The variant a by-reference variant points at (this one when not by reference).
    Variant& Deref();
    const Variant& Deref() const;

    // Conversions with the VCL's rules; a failed conversion raises EVariantTypeCastError
    // naming both types, a text that is not a number (or date, or boolean) raises
    // EConvertError naming the text. A value outside the target's range raises
    // EVariantTypeCastError rather than wrapping around.
    std::string AsString() const; // Null raises; use VarToStr for Null as ""
    int AsInteger() const;
    int64_t AsInt64() const;
    double AsDouble() const;
    bool AsBoolean() const;
    double AsDate() const;
    Currency AsCurrency() const;
    DispatchPtr AsDispatch() const; // null pointer unless the variant holds a dispatch object

    // Array elements (one index per dimension, within the dimension's bounds, else
    // EVariantBadIndexError). Writing goes through a private copy when the array is shared.
    const Variant& operator[](int index) const;
    Variant& operator[](int index);
    const Variant& At(std::initializer_list<int> indices) const;
    Variant& At(std::initializer_list<int> indices);
    const Variant& At(const int* indices, int count) const;
    Variant& At(const int* indices, int count);

    // Late binding on a dispatch variant (EOleError when the variant holds no object).
    Variant Invoke(std::string_view method, std::vector<Variant> args = {}) const;
    Variant Get(std::string_view property, std::vector<Variant> args = {}) const;
    void Set(std::string_view property, const Variant& value) const;

    // Equality in the VCL's sense for scalars (1 == 1.0, "a" == "a"); arrays compare by element.
    bool operator==(const Variant& other) const;
    bool operator!=(const Variant& other) const { return !(*this == other); }

    // Internal: array storage access for the array functions.
    VarArrayData* ArrayData() const;
    VarArrayData* MutableArrayData();

private:
    friend struct VariantAccess;
    void Release();
    void CopyFrom(const Variant& other);
    int64_t IntegerValue(uint16_t target) const; // AsInteger/AsInt64 before the range check

    uint16_t FType = varEmpty;
    union {
        bool b;
        int32_t i;
        int64_t i64;
        double d;
        Variant* ref;
    } FValue{};
    std::string FStr;           // varString and varOleStr (UTF-8)
    std::shared_ptr<void> FObj; // dispatch object or array data
};

// Array functions. Bounds come in pairs (low, high) per dimension; high may be low - 1 for an
// empty dimension. Elements start as the element type's zero (Empty for varVariant); writes
// through operator[] / At store the assigned variant as is, without converting it to the
// element type. Bad bounds or element types raise EVariantArrayCreateError; the functions below
// raise EVariantError "Variant is not an array" when given something else.
Variant VarArrayCreate(std::initializer_list<int> bounds, uint16_t elementType = varVariant);
Variant VarArrayCreate(const std::vector<int>& bounds, uint16_t elementType = varVariant);
Variant VarArrayOf(std::initializer_list<Variant> items); // 0-based, one dimension
Variant VarArrayOf(const std::vector<Variant>& items);
bool VarIsArray(const Variant& v);
int VarArrayDimCount(const Variant& v);          // 0 when not an array
int VarArrayLowBound(const Variant& v, int dim); // dim from 1; EVariantBadIndexError
int VarArrayHighBound(const Variant& v, int dim);
int VarArrayLength(const Variant& v, int dim = 1);
// Changes the high bound of the last dimension, keeping the elements that stay in range.
void VarArrayRedim(Variant& v, int highBound);

bool VarIsEmpty(const Variant& v);
bool VarIsNull(const Variant& v);
// Text of a variant; Null and Empty give the empty text.
std::string VarToStr(const Variant& v);
// Name of a variant type code as the VCL writes it in messages ("String", "OleStr", "Double").
std::string VarTypeAsText(uint16_t type);

} // namespace ole
