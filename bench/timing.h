#pragma once
// Side-by-side timing for the benchmarks. Both sides of a ratio are timed in the same rounds,
// one right after the other, the order swapped every round, so that a slow moment of the
// machine (other programs, Wine's server) falls on both. Each round gives one ratio; the
// median decides and the spread says how far one run can be trusted.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline double NowMilliseconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / frequency;
}

template <typename F>
double Milliseconds(F&& f) {
    const double start = NowMilliseconds();
    f();
    return NowMilliseconds() - start;
}

// The samples of one side (or of a ratio), one per round.
class Samples {
public:
    void Add(double value) { values_.push_back(value); }
    size_t count() const { return values_.size(); }
    double operator[](size_t i) const { return values_[i]; }
    // Nearest-rank percentile of the sorted samples, p in [0, 1].
    double Percentile(double p) const {
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5)];
    }
    double Median() const { return Percentile(0.5); }

private:
    std::vector<double> values_;
};

// Runs every side once per round for rounds rounds, in turn, reversing the order on every
// other round. One warm-up round first, not counted: caches are warm for all sides. prepare,
// when given, runs untimed before each side (waiting out background work, touching files).
inline std::vector<Samples> Interleaved(int rounds, const std::vector<std::function<void()>>& sides,
                                        const std::function<void(size_t side)>& prepare = {}) {
    std::vector<Samples> samples(sides.size());
    for (int round = -1; round < rounds; ++round) {
        for (size_t k = 0; k < sides.size(); ++k) {
            const size_t side = round % 2 == 0 ? k : sides.size() - 1 - k;
            if (prepare) {
                prepare(side);
            }
            const double ms = Milliseconds(sides[side]);
            if (round >= 0) {
                samples[side].Add(ms);
            }
        }
    }
    return samples;
}

// The per-round ratios a[i] / b[i].
inline Samples Ratios(const Samples& a, const Samples& b) {
    Samples ratios;
    for (size_t i = 0; i < a.count(); ++i) {
        ratios.Add(a[i] / b[i]);
    }
    return ratios;
}

// "label   median ms  (middle half lo..hi, all min..max)"
inline void PrintTime(const char* label, const Samples& s) {
    std::printf("%-22s %8.1f ms  (middle half %.1f..%.1f, all %.1f..%.1f)\n", label, s.Median(),
                s.Percentile(0.25), s.Percentile(0.75), s.Percentile(0), s.Percentile(1));
}

// The verdict on the median: "met" or "MISSED".
inline bool PrintRatio(const char* label, const Samples& ratios, double goal, bool atMost = true) {
    const double median = ratios.Median();
    const bool met = atMost ? median <= goal : median >= goal;
    std::printf(
        "ratio %s %.2f (middle half %.2f..%.2f, all %.2f..%.2f, %zu rounds; goal %s %.1f: "
        "%s)\n",
        label, median, ratios.Percentile(0.25), ratios.Percentile(0.75), ratios.Percentile(0),
        ratios.Percentile(1), ratios.count(), atMost ? "<=" : ">=", goal, met ? "met" : "MISSED");
    return met;
}

}  // namespace bench
