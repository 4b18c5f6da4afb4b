// Delphi's FormatFloat and the reading of numbers typed into numeric fields.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

// Format strings as Delphi's FormatFloat reads them:
//   0   a digit, or 0 where the value has none      #   a digit where the value has one
//   .   the first one places the decimal point      ,   thousands separators wanted
//   E+ E- e+ e-   scientific notation; the zeros after the sign give the minimum exponent digits
//   "x" 'x'   literal text; every other character is copied as it is
// Up to three sections separated by ";": positive and general; negative (without a minus of
// its own); zero. An empty section or a missing one falls back to the first. An empty format,
// or an integer part of more than 18 digits, gives FloatToStr's general format.
// Values are rounded half away from zero on their 17 significant decimal digits, so 2.675 (held
// as 2.67499999999999982) gives "2.67" and 1.115 gives "1.12". A value that rounds to zero is
// shown as zero: the zero section, and never a "-0.00".
std::string FormatFloat(std::string_view format, double value);

// A number as a user types it into a numeric field: blanks around, a sign, digits with
// thousands separators in groups of three before the decimal point (so the text FormatFloat
// made with "#,##0.00" reads back), a fraction and an exponent. "1,2,3", "abc" and "" are not
// numbers.
bool TryTextToFloat(std::string_view text, double& value);

} // namespace rtl
