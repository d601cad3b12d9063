#pragma once
// What the editor's Wine benchmarks share: a timer over repeated steps and a bare form.

#include <chrono>

#include "framework/win/Application.h"

// Milliseconds per call of step(i), i = 0 .. n-1.
inline double MsPer(int n, auto&& step) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) step(i);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / n;
}

class TBenchForm : public TForm {
public:
    explicit TBenchForm(TComponent* owner) : TForm(owner) { SetBorderStyle(bsNone); }
};
