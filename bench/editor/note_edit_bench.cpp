// The paint plan of a full note window (40 rows by 80 columns, half Chinese, wrapped), a
// caret move down with the plan of the two rows it changes, and an edit typed and deleted.

#include <benchmark/benchmark.h>

#include "editor/core/NoteEditCore.h"
#include "tests/editor/NoteEditHosts.h"

namespace {
struct Note {
    TNullNoteHost host;
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

namespace {
// A note holding one line of about 1 MB (Chinese with an ASCII word now and then), or 1 MB in
// lines of 80 bytes, with the caret in its middle.
struct BigNote : Note {
    explicit BigNote(bool oneLine, bool chineseOnly = false) {
        std::string text;
        for (int i = 0; text.size() < (1u << 20); ++i) {
            text += i % 9 == 8 && !chineseOnly ? "word " : "\xB1\xE3\xC7\xA9\xCE\xC4\xD7\xD6";
            if (!oneLine && i % 10 == 9) text += "\r\n";
        }
        core.SetTextBytes(text);
        const int line = (core.Lines().Count() + 1) / 2;
        const TBufferCoord middle{oneLine ? (1 << 19) + 1 : 41, line};
        core.SetCaretXY(middle);
        core.SetCaretXY(core.CaretXY());  // off a trail byte
    }
};

// A GBK character typed and deleted again, with the plan of the caret's rows.
void TypeInBigNote(benchmark::State& state, bool oneLine, bool chineseOnly = false) {
    BigNote note(oneLine, chineseOnly);
    char zhong[] = "\xD6\xD0";
    for (auto _ : state) {
        note.core.CommandProcessor(ecImeStr, 0, zhong);
        const int y = (note.core.DisplayXY().Row - note.core.TopLine()) * 20;
        benchmark::DoNotOptimize(note.core.PlanPaint(Rect(0, std::max(y - 20, 0), 482, y + 20), true));
        note.core.CommandProcessor(ecDeleteLastChar, 0, nullptr);
    }
}
void BM_TypeInOneMegabyteLine(benchmark::State& state) { TypeInBigNote(state, true); }
BENCHMARK(BM_TypeInOneMegabyteLine)->Unit(benchmark::kMillisecond);
void BM_TypeInOneMegabyteOfLines(benchmark::State& state) { TypeInBigNote(state, false); }
BENCHMARK(BM_TypeInOneMegabyteOfLines)->Unit(benchmark::kMillisecond);
// One line of Chinese alone: no byte below the lead range to find a character start from.
void BM_TypeInOneMegabyteChineseLine(benchmark::State& state) { TypeInBigNote(state, true, true); }
BENCHMARK(BM_TypeInOneMegabyteChineseLine)->Unit(benchmark::kMillisecond);

// The plan of the whole window with the caret in the middle of the big note.
void PlanBigNote(benchmark::State& state, bool oneLine) {
    BigNote note(oneLine);
    for (auto _ : state) benchmark::DoNotOptimize(note.core.PlanPaint(Rect(0, 0, 482, 40 * 20), true));
}
void BM_PlanOneMegabyteLine(benchmark::State& state) { PlanBigNote(state, true); }
BENCHMARK(BM_PlanOneMegabyteLine);
void BM_PlanOneMegabyteOfLines(benchmark::State& state) { PlanBigNote(state, false); }
BENCHMARK(BM_PlanOneMegabyteOfLines);

// 1 MB of lines pasted in front of a 1 MB note, and undone.
void BM_PasteMegabyteInFront(benchmark::State& state) {
    BigNote note(false);
    const std::string text = note.core.GetText();
    for (auto _ : state) {
        note.core.SetCaretXY({1, 1});
        note.core.ReplaceSelText(text, true);
        state.PauseTiming();
        note.core.CommandProcessor(ecUndo, 0, nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteMegabyteInFront)->Unit(benchmark::kMillisecond);
}  // namespace
