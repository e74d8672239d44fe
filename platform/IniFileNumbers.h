/** @file IniFileNumbers.h: the text forms of the numbers that the settings file stores. */
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brontel::platform {

// A 32-bit signed integer written in decimal ("-42"), or in hexadecimal after "0x", "0X" or
// "$" ("$FF", "-0x10"); an optional sign comes first. The whole text must be the number: no
// blanks, no trailing characters. Decimal values must fit 32 bits signed; hexadecimal ones may
// use all 32 bits and wrap ("$FFFFFFFF" is -1). Empty optional for anything else.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// A floating-point number in the decimal form FormatIniFloat writes ("1.5", "-2e-07", "3");
// an optional "+" is accepted. Empty optional when the whole text is not such a number.
std::optional<double> ParseIniFloat(std::string_view text);

// The shortest decimal text ("." as the decimal separator) that ParseIniFloat reads back as
// exactly `value`.
std::string FormatIniFloat(double value);

}  // namespace brontel::platform
