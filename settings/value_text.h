#pragma once
// The text forms of the values in settings.ini: how a number is read from a profile value and
// how each field is written.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/types.h"

// A signed decimal integer as the platform's profile reader takes it: leading white space and
// one sign allowed, digits up to the first other character, no digits giving 0. A number
// beyond the 32-bit range saturates at INT32_MIN or INT32_MAX.
std::int32_t parseDecimal(std::wstring_view text);

// An unsigned hexadecimal number: leading white space and an optional "0x" allowed, digits up
// to the first other character, no digits giving 0, a value beyond 32 bits giving 0xFFFFFFFF.
std::uint32_t parseHex(std::wstring_view text);

// A colour written RRGGBB: red is bits 16-23 of the number, blue bits 0-7.
Color colorFromHexText(std::wstring_view text);
// Six upper-case hex digits, red first.
std::wstring colorToHexText(Color c);

// Thousandths of the scale, rounded half up.
std::wstring scaleToText(double scale);
