#include "controller_messages.h"

#include "mod_strings.h"
#include "numbers.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int kReportFields = 10;
constexpr int kSaveFields = 11;
constexpr int kSaveDigits = 5;

// A settings number must fit the record's float, or the window would show "inf".
std::optional<float> readSettingsNumber(std::string_view field) {
    const auto value = ReadNumber(field);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::string switchField(bool on) {
    return on ? "00001" : "00000";
}

} // namespace

std::string ReadRequest() {
    return "R\r";
}

bool ReadSettings(std::span<const std::string> texts, TuningParameters& params) {
    if (texts.size() != 9) {
        return false;
    }
    TuningParameters read = params;
    float* numbers[] = {&read.Accel,     &read.Decel,     &read.Turn,
                        &read.MaxOutput, &read.MinOutput, &read.LfbThreshold};
    bool* switches[] = {&read.TpsReverse, &read.EbrakeCutOff, &read.CalibrateG};
    for (std::size_t i = 0; i < 6; ++i) {
        const auto value = readSettingsNumber(texts[i]);
        if (!value) {
            return false;
        }
        *numbers[i] = *value;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        const auto value = ReadBoolean(texts[6 + i]);
        if (!value) {
            return false;
        }
        *switches[i] = *value;
    }
    params = read;
    return true;
}

bool ParseParameterReport(std::string_view text, TuningParameters& params) {
    const auto fields = modStrings::SplitEscaped(text, ",", "\\", true);
    // Field 0 only has to be there; fields past 9 are never looked at.
    return fields.size() >= kReportFields && ReadSettings(std::span(fields).subspan(1, 9), params);
}

std::optional<std::string> SaveCommand(const BoxTexts& boxTexts, const TuningParameters& params) {
    std::vector<std::string> fields(kSaveFields);
    fields.front().push_back('S'); // not = "S": GCC 12 warns wrongly (-Wrestrict) at -O2
    for (std::size_t i = 0; i < boxTexts.size(); ++i) {
        const auto value = ReadNumber(boxTexts[i]);
        if (!value) {
            return std::nullopt;
        }
        std::string digits = FormatPattern(*value, kSaveDigits);
        if (digits.size() != kSaveDigits || digits.front() == '-') {
            return std::nullopt;
        }
        fields[1 + i] = std::move(digits);
    }
    fields[7] = switchField(params.TpsReverse);
    fields[8] = switchField(params.EbrakeCutOff);
    fields[9] = switchField(params.CalibrateG);
    std::string command = modStrings::JoinEscaped(fields, ",", "\\");
    command.push_back('\r');
    return command;
}
