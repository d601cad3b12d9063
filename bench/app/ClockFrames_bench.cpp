// Frames the clock composes per minute of 200 ms redraw ticks: with the seconds hand,
// with its overshoot, and without it (the counter "frames" is per simulated minute).
#include <benchmark/benchmark.h>

#include "app/core/ClockFace.h"

namespace {

void FramesPerMinute(benchmark::State& state, bool showSecond, bool secondTan)
{
    int frames = 0, minutes = 0;
    TClockDial dial;
    for (auto _ : state) {
        frames = 0;
        for (int tick = 0; tick < 300; ++tick) {   // 300 ticks of 200 ms
            int second = 10 * 3600 + minutes * 60 + tick / 5;
            int h = second / 3600 % 24, m = second / 60 % 60, s = second % 60;
            if (!dial.Changed(h, m, s, showSecond))
                continue;
            TClockFrames f = TClockDial::Frames(h, m, s, showSecond, secondTan);
            benchmark::DoNotOptimize(f);
            frames += f.Count;
            dial.Remember(h, m, s);
        }
        ++minutes;
    }
    state.counters["frames"] = frames;
}

}  // namespace

BENCHMARK_CAPTURE(FramesPerMinute, seconds, true, false);
BENCHMARK_CAPTURE(FramesPerMinute, overshoot, true, true);
BENCHMARK_CAPTURE(FramesPerMinute, no_seconds, false, true);
