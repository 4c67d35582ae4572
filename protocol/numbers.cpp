#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>
#include <vector>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Length of the longest prefix of `text` shaped as [sign] digits [. digits], or 0 when that
// prefix holds no digit.
std::size_t decimalPrefixLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    return digits == 0 ? 0 : i;
}

// Converts a text already checked by decimalPrefixLength.
std::optional<double> convertDecimal(std::string_view number) {
    bool negative = false;
    if (number.front() == '+' || number.front() == '-') {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Out of range is either too large (not a number) or a fraction too small for a double,
        // which is zero for every purpose here.
        const auto point = number.find('.');
        const auto whole = number.substr(0, point);
        if (std::any_of(whole.begin(), whole.end(), [](char c) { return c != '0'; })) {
            return std::nullopt;
        }
        value = 0.0;
    } else if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace

std::optional<double> ReadNumber(std::string_view text) {
    text = trimBlanks(text);
    const std::size_t length = decimalPrefixLength(text);
    if (length == 0 || length != text.size()) {
        return std::nullopt;
    }
    return convertDecimal(text);
}

std::optional<bool> ReadBoolean(std::string_view text) {
    text = trimBlanks(text);
    auto equalsWord = [text](std::string_view word) {
        return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
            return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
        });
    };
    if (equalsWord("true")) {
        return true;
    }
    if (equalsWord("false")) {
        return false;
    }
    if (const auto number = ReadNumber(text)) {
        return *number != 0.0;
    }
    return std::nullopt;
}

std::string FormatPattern(double value, int minDigits) {
    const double rounded = std::round(value); // halves away from zero
    const bool negative = rounded < 0.0;
    // A double has at most 309 integer digits; %.0f writes them exactly.
    std::vector<char> digits(std::numeric_limits<double>::max_exponent10 + 4);
    const int written = std::snprintf(digits.data(), digits.size(), "%.0f", std::fabs(rounded));
    std::string magnitude(digits.data(), static_cast<std::size_t>(std::max(written, 0)));
    if (static_cast<int>(magnitude.size()) < minDigits) {
        magnitude.insert(0, static_cast<std::size_t>(minDigits) - magnitude.size(), '0');
    }
    if (negative) {
        magnitude.insert(magnitude.begin(), '-');
    }
    return magnitude;
}

std::optional<std::int16_t> ReadPortNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    const std::size_t length = decimalPrefixLength(text);
    if (length == 0) {
        return std::int16_t{0};
    }
    const auto value = convertDecimal(text.substr(0, length));
    if (!value) {
        return std::nullopt;
    }
    const double whole = std::nearbyint(*value); // default rounding: halves to even
    if (whole < std::numeric_limits<std::int16_t>::min() ||
        whole > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(whole);
}
