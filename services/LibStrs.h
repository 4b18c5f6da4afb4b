// The shared string, date and variant library ("libstrs"). Dates travel as "YYYYMMDD" texts
// (empty for no date) and as TDateTime day numbers (0 for no date).
#pragma once

#include "platform/ole/Variant.h"

#include <string>
#include <string_view>

namespace db {
class TField;
}

// --- strings ---------------------------------------------------------------------------------
// S filled with Fill up to Width (lengths in bytes of the system code page); never cut.
std::string PadText(std::string_view s, int width, char fill = ' ');
std::string GetPiece(std::string_view s, std::string_view sep, int n);
int PieceCount(std::string_view s, std::string_view sep);
void CutPiece(std::string& s, std::string_view sep, std::string& head);
std::string ReplaceAll(std::string_view s, std::string_view oldText, std::string_view newText,
                       bool doTrim);
// Prefix #3 Items[0] #3 then Items[1..Items[0]] each followed by #3; a wide string.
ole::Variant JoinETX(std::string_view prefix, const ole::Variant& items);
std::string ButtonCaption(std::string_view name);
double StrToFloatDefault(std::string_view s, double def);
bool IsLocalHost(std::string_view address);
std::string TempFolder();

// --- dates -----------------------------------------------------------------------------------
double Date8ToDate(std::string_view s);
bool IsValidDate8(std::string_view s);
std::string FormatDateByType(int type, std::string_view sep, double d);
std::string FormatYMByType(int type, std::string_view sep, double d);
double ParseDateByType(std::string_view text, int type, std::string_view sep);
// V is a "YYYYMMDD" text or a date; unit "Y", "M" or "D" (any case). Empty when V holds no
// date, the unit is unknown or the result leaves the years 1..9999.
std::string AddToDate8(const ole::Variant& v, std::string_view unit, int n);
int DaysOfMonth(int year, int month);
std::string ShiftDate(std::string_view base, std::string_view offset, std::string_view period,
                      std::string_view days, std::string_view mode);
std::string WeekEdge(std::string_view base, std::string_view weeks, std::string_view mode);

// --- variants --------------------------------------------------------------------------------
ole::Variant IfVar(bool cond, const ole::Variant& a, const ole::Variant& b);
bool VarIsBlank(const ole::Variant& v);
// Re-codes the strings of V (scalar, or arrays as documented) between the system code page and
// the given one; on any failure the unconverted copy, with an alert-log entry.
ole::Variant VarToWideCP(const ole::Variant& v, int codePage);
ole::Variant VarFromWideCP(const ole::Variant& v, int codePage);
// Bytes of the code page -> UTF-8 text, and back. Bytes the code page cannot decode are kept
// as private characters that encode back to the same bytes, so a round trip loses nothing.
std::string CodePageToWide(std::string_view bytes, int codePage);
std::string WideToCodePage(std::string_view wide, int codePage);

// --- fields ----------------------------------------------------------------------------------
// Writes Text into Field even when the field is read-only (the flag is restored afterwards,
// also when the write fails). Numeric fields take Text as typed by a user when UseEditText;
// other fields take it as their text, a text field cut to whole characters within its size in
// bytes of the system code page, so a double-byte character is never split. False only when
// Field is null; a text the field cannot take raises the field's error.
bool SetFieldText(db::TField* field, std::string_view text, bool useEditText);
