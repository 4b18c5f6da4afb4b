// Run-time library basics in the shape of Delphi's System and SysUtils units: the exception
// classes with their VCL class names, TDateTime day numbers, and the small text helpers the
// rest of the code leans on. Program text is UTF-8 in std::string.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// ---------------------------------------------------------------------------------------------
// Exceptions. ClassName() answers what the VCL's class would answer, so that an exception report
// can say "Exception is EConvertError".

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    virtual const char* ClassName() const { return "Exception"; }

private:
    std::string FMessage;
};

#define RTL_EXCEPTION_CLASS(Name, Base)                                                            \
    class Name : public Base {                                                                     \
        using BaseClass_ = Base;                                                                   \
                                                                                                   \
    public:                                                                                        \
        using BaseClass_::BaseClass_;                                                              \
        const char* ClassName() const override { return #Name; }                                   \
    }

RTL_EXCEPTION_CLASS(EAbort, Exception);
RTL_EXCEPTION_CLASS(EConvertError, Exception);
RTL_EXCEPTION_CLASS(EVariantError, Exception);
RTL_EXCEPTION_CLASS(EVariantTypeCastError, EVariantError);
RTL_EXCEPTION_CLASS(EVariantBadIndexError, EVariantError);
RTL_EXCEPTION_CLASS(EVariantArrayCreateError, EVariantError);
RTL_EXCEPTION_CLASS(EOleError, Exception);
RTL_EXCEPTION_CLASS(EListError, Exception);
RTL_EXCEPTION_CLASS(EStringListError, Exception);
RTL_EXCEPTION_CLASS(EIntError, Exception);
RTL_EXCEPTION_CLASS(ERangeError, EIntError);
RTL_EXCEPTION_CLASS(EMathError, Exception);
RTL_EXCEPTION_CLASS(EZeroDivide, EMathError);

// Operating-system error with its error code (errno here, GetLastError there).
class EOSError : public Exception {
public:
    EOSError(std::string message, int errorCode)
        : Exception(std::move(message)), ErrorCode(errorCode) {}
    const char* ClassName() const override { return "EOSError"; }
    int ErrorCode;
};

// The older name of the same class; the exception report names it.
class EWin32Error : public EOSError {
public:
    using EOSError::EOSError;
    const char* ClassName() const override { return "EWin32Error"; }
};

// File input/output error with its I/O result code.
class EInOutError : public Exception {
public:
    EInOutError(std::string message, int errorCode)
        : Exception(std::move(message)), ErrorCode(errorCode) {}
    const char* ClassName() const override { return "EInOutError"; }
    int ErrorCode;
};

// Database-engine error carrying the engine's list of sub-errors.
struct TDBError {
    int ErrorCode = 0;
    std::string Message;
};

class EDBEngineError : public Exception {
public:
    EDBEngineError(std::string message, std::vector<TDBError> errors)
        : Exception(std::move(message)), Errors(std::move(errors)) {}
    const char* ClassName() const override { return "EDBEngineError"; }
    int ErrorCount() const { return static_cast<int>(Errors.size()); }
    std::vector<TDBError> Errors;
};

// The class name of any exception object: ours answer their VCL name, others "Exception".
const char* ExceptionClassName(const std::exception& e);

// ---------------------------------------------------------------------------------------------
// Dates: TDateTime is a day number with the time as fraction, day 0 = 30 December 1899.

using TDateTime = double;

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);          // 0 for a month outside 1..12
bool IsValidDate(int year, int month, int day); // year 1..9999
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeDate(int year, int month, int day); // EConvertError when invalid
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec);
int DayOfWeek(TDateTime dt); // 1 = Sunday .. 7 = Saturday
TDateTime Now();
TDateTime Date();
// Whole days from 0001-01-01 (day 1) as Delphi's DateDelta-based count; used to bound inputs.
constexpr int MinDateTimeDay = -693593; // 0001-01-01
constexpr int MaxDateTimeDay = 2958465; // 9999-12-31

// The process's date and time formats (a Chinese workstation's defaults).
extern std::string ShortDateFormat; // "yyyy/m/d"
extern std::string LongTimeFormat;  // "h:nn:ss"
extern char DateSeparator;          // '/'
extern char TimeSeparator;          // ':'

// Delphi's FormatDateTime: y yy yyyy, m mm mmm mmmm, d dd ddd dddd ddddd dddddd, h hh, n nn,
// s ss, z zzz, t tt, c, am/pm, a/p, ampm, "/" and ":" as the process separators, '...' and "..."
// literals. A "m" right after "h"/"hh" means minutes, as Delphi reads it.
std::string FormatDateTime(std::string_view format, TDateTime dt);

// ---------------------------------------------------------------------------------------------
// Text helpers with Delphi's rules (ASCII case folding, Trim drops characters <= ' ').

std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view s);
bool EndsText(std::string_view suffix, std::string_view s);

std::string IntToStr(int64_t value);
std::string IntToHex(uint64_t value, int digits);
// Delphi's Val rules: optional blanks before, a sign, decimal or "$"/"0x" hexadecimal digits, no
// trailing characters; the value must fit.
bool TryStrToInt(std::string_view s, int& out);
bool TryStrToInt64(std::string_view s, int64_t& out);
int StrToInt(std::string_view s); // EConvertError "'s' is not a valid integer value"
int StrToIntDef(std::string_view s, int def);
// A decimal number with the given decimal separator, optional sign and exponent; blanks around
// are allowed, nothing else.
bool TryStrToFloat(std::string_view s, double& out, char decimalSeparator = '.');
double StrToFloat(std::string_view s); // EConvertError "'s' is not a valid floating point value"
// Delphi's FloatToStr: general format with 15 significant digits.
std::string FloatToStr(double value);

// printf-style formatting (the system's "%.2d"/"%s" formats are printf-compatible).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends one code point as UTF-8 (the caller passes a valid code point).
void AppendUtf8(std::string& out, char32_t codePoint);

// Splits at every occurrence of sep (sep not empty); "" gives one empty piece.
std::vector<std::string> SplitString(std::string_view s, std::string_view sep);

} // namespace rtl
