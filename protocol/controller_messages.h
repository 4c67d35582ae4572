#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The controller's nine settings as the window knows them.
struct TuningParameters {
    float Accel = 0.0f;
    float Decel = 0.0f;
    float Turn = 0.0f;
    float MaxOutput = 0.0f;
    float MinOutput = 0.0f;
    float LfbThreshold = 0.0f;
    bool TpsReverse = false;
    bool EbrakeCutOff = false;
    bool CalibrateG = false;

    bool operator==(const TuningParameters&) const = default;
};

// The texts of the six percentage boxes, in the order the save command carries them:
// acceleration, deceleration, turning, maximum output, minimum output, LFB threshold.
using BoxTexts = std::array<std::string, 6>;

// Asks the controller for its settings: "R" and a carriage return.
std::string ReadRequest();

// Reads the nine settings from nine texts in the record's order: six numbers (each must fit a
// float), then three switches. Either all nine are taken and the result is true, or `params` is
// left exactly as it was.
bool ReadSettings(std::span<const std::string> texts, TuningParameters& params);

// Reads a controller report (comma-separated, "\" escaping, fields 1-6 numbers, 7-9 switches,
// field 0 and fields past 9 ignored) into `params`. Either all nine values are taken and the
// result is true, or `params` is left exactly as it was and the result is false.
bool ParseParameterReport(std::string_view text, TuningParameters& params);

// The save command: "S", the six box values as five-digit whole numbers, the three switches as
// 00001 or 00000, an empty last field, then a carriage return. Empty when a box text is not a
// number or rounds outside 0 to 99999, so a malformed command can never be built.
std::optional<std::string> SaveCommand(const BoxTexts& boxTexts, const TuningParameters& params);
