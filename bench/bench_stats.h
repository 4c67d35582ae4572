#pragma once

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

// Order statistics of a set of samples, in whatever unit they were taken.
inline double percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) {
        return 0;
    }
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(at),
                     samples.end());
    return samples[at];
}

inline double microsecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

// Runs both measurements in turns, `rounds` times each, so that both see the same machine;
// returns all samples of each.
template <typename First, typename Second>
std::pair<std::vector<double>, std::vector<double>> sideBySide(int rounds, First first,
                                                               Second second) {
    std::pair<std::vector<double>, std::vector<double>> all;
    for (int round = 0; round < rounds; ++round) {
        const std::vector<double> a = first();
        const std::vector<double> b = second();
        all.first.insert(all.first.end(), a.begin(), a.end());
        all.second.insert(all.second.end(), b.begin(), b.end());
    }
    return all;
}

// One character at 57600 baud, start and stop bits included.
constexpr double kWireCharacterMicroseconds = 10.0 / 57600 * 1e6;
