#include "bench/BenchTiming.h"

#include <windows.h>

#include <algorithm>

double Seconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

std::pair<double, double> MeasurePair(const std::function<void()>& first, const std::function<void()>& second,
                                      int rounds)
{
    int perBatch = 0;
    for (const double start = Seconds(); Seconds() - start < 0.01; ++perBatch)
        first();
    perBatch = std::max(perBatch, 1);
    const auto batch = [perBatch](const std::function<void()>& run) {
        const double start = Seconds();
        for (int i = 0; i < perBatch; ++i)
            run();
        return (Seconds() - start) / perBatch;
    };
    double bestFirst = 1e9;
    double bestSecond = 1e9;
    for (int round = 0; round < rounds; ++round)
    {
        bestFirst = std::min(bestFirst, batch(first));
        bestSecond = std::min(bestSecond, batch(second));
    }
    return {bestFirst, bestSecond};
}
