#pragma once

#include <algorithm>
#include <chrono>
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

// One character at 57600 baud, start and stop bits included.
constexpr double kWireCharacterMicroseconds = 10.0 / 57600 * 1e6;
