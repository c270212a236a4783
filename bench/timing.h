#pragma once
// Best-of-N wall-clock timing for the benchmarks; both sides of a ratio are timed here, in one run.

#include <windows.h>

#include <algorithm>
#include <limits>

namespace bench {

template <typename F>
double BestOfMilliseconds(int runs, F&& f) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        f();
        ::QueryPerformanceCounter(&end);
        best = std::min(best, 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                  static_cast<double>(frequency.QuadPart));
    }
    return best;
}

}  // namespace bench
