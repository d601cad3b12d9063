// Loading and wrapping a 1 MB GBK note, and re-wrapping one line after a typed character.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "editor/core/NoteEditHighlighter.h"
#include "editor/core/NoteEditWordWrap.h"

namespace {
// About 1 MB of note text: lines of GBK characters, ASCII words, blanks and some tabs.
const std::string& NoteBytes() {
    static const std::string bytes = [] {
        std::mt19937 random(2024);
        std::string text;
        while (text.size() < (1u << 20)) {
            const int length = random() % 240;
            for (int i = 0; i < length;) {
                const int kind = random() % 20;
                if (kind < 12) {
                    text += static_cast<char>(0xB0 + random() % 0x48);
                    text += static_cast<char>(0xA1 + random() % 0x5E);
                    i += 2;
                } else if (kind < 17) {
                    text += static_cast<char>('a' + random() % 26);
                    ++i;
                } else {
                    text += kind == 19 ? '\t' : ' ';
                    ++i;
                }
            }
            text += "\r\n";
        }
        return text;
    }();
    return bytes;
}

class Host : public INoteWrapHost {
public:
    Host() {
        Wrap.SetStyle(wwsRightEdge);
        Lines.LoadFromBytes(NoteBytes());
    }
    TNoteEditStringList& WrapLines() override { return Lines; }
    int CharsInWindow() const override { return 0; }
    const TNoteRightEdge& RightEdge() const override { return Edge; }
    const TNoteWordWrap& WordWrap() const override { return Wrap; }
    TNoteByteSet IdentChars() const override { return NoteDefaultIdentChars(); }

    TNoteEditStringList Lines;
    TNoteRightEdge Edge;  // column 80
    TNoteWordWrap Wrap;
};

void BM_LoadNote(benchmark::State& state) {
    TNoteEditStringList lines;
    for (auto _ : state) lines.LoadFromBytes(NoteBytes());
    state.SetBytesProcessed(state.iterations() * NoteBytes().size());
    state.counters["lines"] = lines.Count();
}
BENCHMARK(BM_LoadNote)->Unit(benchmark::kMillisecond);

void BM_LoadAndWrapAt80(benchmark::State& state) {
    for (auto _ : state) {
        Host host;
        TNoteWordWrapPlugin wrap(&host);
        benchmark::DoNotOptimize(wrap.RowCount());
    }
    state.SetBytesProcessed(state.iterations() * NoteBytes().size());
}
BENCHMARK(BM_LoadAndWrapAt80)->Unit(benchmark::kMillisecond);

void BM_WrapAllAt80(benchmark::State& state) {
    Host host;
    TNoteWordWrapPlugin wrap(&host);
    for (auto _ : state) wrap.WrapAll();
    state.counters["rows"] = wrap.RowCount();
}
BENCHMARK(BM_WrapAllAt80)->Unit(benchmark::kMillisecond);

// A character typed in the middle line, then the line re-wrapped; every other iteration
// takes it out again so the text stays the same size.
void BM_InsertCharAndRewrapLine(benchmark::State& state) {
    Host host;
    TNoteWordWrapPlugin wrap(&host);
    const int middle = host.Lines.Count() / 2;
    const std::string original = host.Lines.Get(middle);
    const std::string typed = original.substr(0, original.size() / 2) + "x" + original.substr(original.size() / 2);
    bool insert = true;
    for (auto _ : state) {
        host.Lines.Put(middle, insert ? typed : original);
        benchmark::DoNotOptimize(wrap.AfterReplace(middle, 1));
        insert = !insert;
    }
}
BENCHMARK(BM_InsertCharAndRewrapLine);

void BM_SaveNoteFile(benchmark::State& state) {
    Host host;
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "vorpen-editor-bench.txt";
    const std::u8string name = path.u8string();
    for (auto _ : state) host.Lines.SaveToFile(std::string(name.begin(), name.end()));
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * NoteBytes().size());
}
BENCHMARK(BM_SaveNoteFile)->Unit(benchmark::kMillisecond);
}  // namespace
