// Conversion speed of the calendar engine: the month view converts 42 days per repaint.
#include "calendar/core/LunarCalendar.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Day {
    int Year, Month, Day;
};

const std::vector<Day>& DaysOf1900To2100()
{
    static const std::vector<Day> days = [] {
        std::vector<Day> all;
        for (int y = 1900; y <= 2100; ++y)
            for (int m = 1; m <= 12; ++m)
                for (int d = 1; d <= DaysInMonth(y, m); ++d)
                    all.push_back({y, m, d});
        return all;
    }();
    return days;
}

void BM_SolarToCnDate(benchmark::State& state)
{
    const auto& days = DaysOf1900To2100();
    for (auto _ : state) {
        for (const Day& day : days) {
            bool leap;
            int cnDay, cnMonth, cnYear;
            benchmark::DoNotOptimize(SolarToCnDate(day.Year, day.Month, day.Day, leap, cnDay, cnMonth, cnYear));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(days.size()));
}
BENCHMARK(BM_SolarToCnDate)->Unit(benchmark::kMillisecond);

void BM_CnDateToSolar(benchmark::State& state)
{
    for (auto _ : state) {
        for (int year = 1900; year <= 2100; ++year)
            for (int month = 1; month <= 12; ++month) {
                int y, m, d;
                benchmark::DoNotOptimize(CnDateToSolar(year, month, 15, false, y, m, d));
            }
    }
    state.SetItemsProcessed(state.iterations() * 201 * 12);
}
BENCHMARK(BM_CnDateToSolar)->Unit(benchmark::kMillisecond);

void BM_SolarTerms(benchmark::State& state)
{
    for (auto _ : state) {
        for (int year = 1900; year <= 2100; ++year)
            for (int index = 0; index < 24; ++index) {
                int month, day, hour, minute;
                benchmark::DoNotOptimize(GetSolarTermDate(year, index, month, day, hour, minute));
            }
    }
    state.SetItemsProcessed(state.iterations() * 201 * 24);
}
BENCHMARK(BM_SolarTerms)->Unit(benchmark::kMillisecond);

// A month view's 42 days, each with its stem-branch texts' indexes.
void BM_MonthView(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < 42; ++i) {
            const int day = 1 + i % 28, month = 1 + i / 28 + 5;
            bool leap;
            int cnDay, cnMonth, cnYear;
            benchmark::DoNotOptimize(SolarToCnDate(2025, month, day, leap, cnDay, cnMonth, cnYear));
            benchmark::DoNotOptimize(DayStemBranch(2025, month, day) + MonthStemBranch(2025, month, day)
                                     + YearStemBranch(2025, month, day));
        }
    }
    state.SetItemsProcessed(state.iterations() * 42);
}
BENCHMARK(BM_MonthView);

}  // namespace
