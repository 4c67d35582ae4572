#include "save_limits.h"

#include "numbers.h"

LimitedText LimitBoxText(std::string_view text, PercentRange range) {
    const auto value = ReadNumber(text);
    if (!value) {
        return {};
    }
    if (*value > range.upper) {
        return {true, FormatPattern(range.upper, 1)};
    }
    if (*value < range.lower) {
        return {true, FormatPattern(range.lower, 1)};
    }
    return {true, std::nullopt};
}
