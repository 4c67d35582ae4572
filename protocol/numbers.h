#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reading and writing the numbers that travel between the window, the user and the controller.
// All of it is locale-independent: the decimal separator is always a point.

// A plain decimal number: optional blanks (space, tab, CR, LF) around, an optional sign, digits
// with an optional fraction after a point (at least one digit in all). No exponent, no hex, no
// "nan" or "inf". A value beyond the range of a double is not a number.
std::optional<double> ReadNumber(std::string_view text);

// A switch value: the words True or False in any letter case, or a number (zero is false).
std::optional<bool> ReadBoolean(std::string_view text);

// The nearest whole number (halves away from zero), zero-padded on the left to at least
// `minDigits` digits, with a leading minus for negatives; longer numbers keep all their digits.
// FormatPattern(5, 3) is "005", FormatPattern(12.5, 5) is "00013". A value that rounds to zero
// has no sign. `value` must be finite.
std::string FormatPattern(double value, int minDigits);

// The port number at the start of a text, read the way the port box is read: leading blanks
// skipped, the decimal number at the start (sign, digits, fraction), 0 when the text does not
// begin with a number, rounded to the nearest whole number with halves to even. Empty when the
// result does not fit a 16-bit signed integer.
std::optional<std::int16_t> ReadPortNumber(std::string_view text);
