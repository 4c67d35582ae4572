// Prints what the protocol costs: one report parsed, one save command built, and splitting
// 64 KiB and 1 MiB of comma-separated text (linear growth gives a ratio of 16).
#include "controller_messages.h"
#include "mod_strings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work> double medianNanoseconds(int rounds, int perRound, Work work) {
    std::vector<double> samples;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < perRound; ++i) {
            work();
        }
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        samples.push_back(spent.count() / perRound);
    }
    std::nth_element(samples.begin(), samples.begin() + rounds / 2, samples.end());
    return samples[static_cast<std::size_t>(rounds / 2)];
}

std::string commaText(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 16);
    for (int i = 0; text.size() < bytes; ++i) {
        text += (i % 7 == 0) ? "a\\,b," : "00100,";
    }
    text.resize(bytes);
    return text;
}

volatile std::size_t sink;

} // namespace

int main() {
    const std::string report = "P,00100,00095,00120,00100,00010,00050,00000,00001,00000,\r";
    const double parse = medianNanoseconds(21, 20000, [&] {
        TuningParameters record;
        sink = ParseParameterReport(report, record);
    });
    const BoxTexts boxes{"100", "95", "120", "100", "10", "50"};
    const double save = medianNanoseconds(
        21, 20000, [&] { sink = SaveCommand(boxes, TuningParameters{})->size(); });
    const std::string small = commaText(64 * 1024);
    const std::string large = commaText(1024 * 1024);
    const double splitSmall = medianNanoseconds(
        15, 20, [&] { sink = modStrings::SplitEscaped(small, ",", "\\", true).size(); });
    const double splitLarge = medianNanoseconds(
        15, 2, [&] { sink = modStrings::SplitEscaped(large, ",", "\\", true).size(); });

    const double wireCharacterNs = 10.0 / 57600 * 1e9; // start, 8 data bits, stop
    std::printf("parse one report (%zu bytes):   %8.0f ns  (the same bytes on the wire: %.0f us)\n",
                report.size(), parse, report.size() * wireCharacterNs / 1000);
    std::printf("build one save command:         %8.0f ns  (one character on the wire: %.1f us)\n",
                save, wireCharacterNs / 1000);
    std::printf("split 64 KiB:                   %8.1f us\n", splitSmall / 1000);
    std::printf("split 1 MiB:                    %8.1f us\n", splitLarge / 1000);
    std::printf("ratio 1 MiB / 64 KiB:           %8.1f   (linear: 16, limit: 20)\n",
                splitLarge / splitSmall);
    return 0;
}
