// The paint plan of a full note window (40 rows by 80 columns, half Chinese, wrapped), a
// caret move down with the plan of the two rows it changes, and an edit typed and deleted.

#include <benchmark/benchmark.h>

#include "editor/core/NoteEditCore.h"

namespace {
struct NullHost : INoteEditHost {
    bool HostHasWindow() const override { return true; }
    bool HostFocused() const override { return true; }
    void HostInvalidate(const TRect&) override {}
    void HostScroll(int, int, const TRect&) override {}
    void HostUpdateScrollBars() override {}
    void HostUpdateCaret() override {}
    void HostRecreateCaret() override {}
};

struct Note {
    NullHost host;
    TNoteEditCore core{host};
    Note() {
        core.Gutter().SetVisible(false);
        core.LineDivider().SetVisible(true);
        core.SetLineSpacingRule(lsOneAndHalf);
        core.CharMetricsChanged(6, 12);
        core.ViewSizeChanged(80 * 6 + 2, 40 * core.LineHeight());
        core.WordWrap().SetStyle(wwsRightEdge);
        core.WordWrap().SetEnabled(true);
        std::string text;
        for (int row = 0; row < 40; ++row) {
            for (int i = 0; i < 20; ++i) text += i % 2 ? "word" : "\xB1\xE3\xC7\xA9\xCE\xC4\xD7\xD6";
            text += "\r\n";
        }
        core.SetTextBytes(text);
    }
};

void BM_PlanFullWindow(benchmark::State& state) {
    Note note;
    for (auto _ : state) benchmark::DoNotOptimize(note.core.PlanPaint(Rect(0, 0, 482, 40 * 20), true));
}
BENCHMARK(BM_PlanFullWindow);

void BM_CaretMoveAndTwoRows(benchmark::State& state) {
    Note note;
    int i = 0;
    for (auto _ : state) {
        note.core.CommandProcessor(i++ % 78 < 39 ? ecDown : ecUp, 0, nullptr);
        const int y = (note.core.DisplayXY().Row - note.core.TopLine()) * 20;
        benchmark::DoNotOptimize(note.core.PlanPaint(Rect(0, std::max(y - 20, 0), 482, y + 20), true));
    }
}
BENCHMARK(BM_CaretMoveAndTwoRows);

// Typing a GBK character, a line break and deleting both again in the middle of the wrapped
// note: the commands with their undo records and re-wrap.
void BM_TypeBreakAndDelete(benchmark::State& state) {
    Note note;
    note.core.SetCaretXY({41, 20});
    char zhong[] = "\xD6\xD0";
    for (auto _ : state) {
        note.core.CommandProcessor(ecImeStr, 0, zhong);
        note.core.CommandProcessor(ecLineBreak, 0, nullptr);
        note.core.CommandProcessor(ecDeleteLastChar, 0, nullptr);
        note.core.CommandProcessor(ecDeleteLastChar, 0, nullptr);
    }
}
BENCHMARK(BM_TypeBreakAndDelete);
}  // namespace
