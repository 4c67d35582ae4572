// Property checks over any input: splitting, joining then splitting, report parsing and the
// save command. A broken property aborts, which libFuzzer reports as a finding.
#include "controller_messages.h"
#include "mod_strings.h"
#include "numbers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

void checkSplit(std::string_view text) {
    const auto trimmed = modStrings::SplitEscaped(text, ",", "\\", true);
    require(!trimmed.empty(), "split gives at least one field");
    for (const auto& field : trimmed) {
        require(field.empty() || (field.front() != ' ' && field.back() != ' '),
                "trimmed fields have no spaces at their ends");
    }
    const auto raw = modStrings::SplitEscaped(text, ",", "\\", false);
    require(raw.size() == trimmed.size(), "trimming never changes the number of fields");
}

// Elements cut from the input at line ends, kept only when the round trip is promised:
// not empty, no escape at the end but for the last, no spaces at either end, no NUL.
std::vector<std::string> roundTripList(std::string_view text) {
    std::vector<std::string> list;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string element(text.substr(start, end - start));
        const bool usable = !element.empty() && element.front() != ' ' && element.back() != ' ' &&
                            element.back() != '\\' && element.find('\0') == std::string::npos;
        if (usable) {
            list.push_back(element);
        }
        start = end + 1;
    }
    return list;
}

void checkRoundTrip(std::string_view text) {
    const auto list = roundTripList(text);
    if (list.empty()) {
        return;
    }
    auto joinedList = list;
    const std::string joined = modStrings::JoinEscaped(joinedList, ",", "\\");
    require(modStrings::SplitEscaped(joined, ",", "\\", true) == list,
            "join then split gives the list back");
}

void checkReport(std::string_view text) {
    const TuningParameters before{1, 2, 3, 4, 5, 6, true, false, true};
    TuningParameters record = before;
    if (!ParseParameterReport(text, record)) {
        require(record == before, "a failed parse leaves the record untouched");
        return;
    }
    const auto fields = modStrings::SplitEscaped(text, ",", "\\", true);
    require(fields.size() >= 10, "a parsed report has ten fields");
    const float numbers[] = {record.Accel,     record.Decel,     record.Turn,
                             record.MaxOutput, record.MinOutput, record.LfbThreshold};
    for (int i = 0; i < 6; ++i) {
        require(static_cast<float>(*ReadNumber(fields[static_cast<std::size_t>(1 + i)])) ==
                    numbers[i],
                "every number of a parsed report is taken");
    }
    require(*ReadBoolean(fields[7]) == record.TpsReverse &&
                *ReadBoolean(fields[8]) == record.EbrakeCutOff &&
                *ReadBoolean(fields[9]) == record.CalibrateG,
            "every switch of a parsed report is taken");
}

bool isWellFormedSaveCommand(const std::string& command) {
    if (command.size() != 57 || command.compare(0, 2, "S,") != 0 || command.back() != '\r') {
        return false;
    }
    for (std::size_t field = 0; field < 9; ++field) {
        const std::size_t at = 2 + field * 6;
        for (std::size_t i = 0; i < 5; ++i) {
            if (command[at + i] < '0' || command[at + i] > '9') {
                return false;
            }
        }
        if (command[at + 5] != ',') {
            return false;
        }
    }
    return true;
}

void checkSaveCommand(std::string_view text) {
    BoxTexts boxes;
    std::size_t start = 0;
    for (auto& box : boxes) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        box = std::string(text.substr(std::min(start, text.size()), end - std::min(start, end)));
        start = end + 1;
    }
    const auto command = SaveCommand(boxes, TuningParameters{0, 0, 0, 0, 0, 0, true, false, true});
    if (command) {
        require(isWellFormedSaveCommand(*command), "a save command is always well formed");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkSplit(text);
    checkRoundTrip(text);
    checkReport(text);
    checkSaveCommand(text);
    return 0;
}
