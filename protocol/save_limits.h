#pragma once

#include <optional>
#include <string>
#include <string_view>

// The ranges a percentage box is held to when the settings are saved.
struct PercentRange {
    double lower;
    double upper;
};

inline constexpr PercentRange kDriveRange{0, 200};  // acceleration, deceleration, turning
inline constexpr PercentRange kOutputRange{0, 100}; // maximum and minimum output, LFB threshold

// What Save does to one box text before sending it.
struct LimitedText {
    bool usable = false;             // the text reads as a number
    std::optional<std::string> text; // the replacement text, when the value was out of range
};

// Above the upper limit the text becomes the upper limit ("200"), below the lower one it
// becomes "0"; a value within the range (limits included) keeps its text exactly as typed.
LimitedText LimitBoxText(std::string_view text, PercentRange range);
