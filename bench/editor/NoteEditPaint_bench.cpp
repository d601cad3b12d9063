// Cost of the editor control's painting under Wine: a full window of 40 rows by 80 columns,
// half of it Chinese, and one caret move down with the repaint of the rows it changed, set
// against a BitBlt of the window's size in the same run. Run by hand:
//   wine note_edit_paint_bench.exe [repeats]
#include <cstdio>

#include "bench/editor/EditorBench.h"
#include "editor/win/NoteEdit.h"
#include "framework/rtl/Encoding.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"

int wmain(int argc, wchar_t** argv) {
    const int repeats = argc > 1 ? _wtoi(argv[1]) : 200;
    Application->Initialize();
    TBenchForm* form = NewForm<TBenchForm>(nullptr);
    auto* edit = new TNoteEdit(form);
    edit->SetParent(form);
    edit->Font().SetName("新宋体");
    edit->Font().SetHeight(-12);
    edit->SetBorderStyle(bsNone);
    edit->SetScrollBars(ssNone);
    edit->LineDivider().SetVisible(true);
    const int width = 80 * edit->CharWidth() + 2, height = 40 * edit->LineHeight();
    form->SetBounds(0, 0, width, height);
    edit->SetBounds(0, 0, width, height);
    std::string text;
    for (int row = 0; row < 40; ++row) {
        std::string line;
        for (int i = 0; i < 20; ++i) line += i % 2 ? "word" : "便签文字";
        text += line + (row < 39 ? "\n" : "");
    }
    edit->SetTextUtf8(text);
    form->Show();
    Application->ProcessMessages();

    TBitmap target(width, height);
    const double full = MsPer(repeats, [&](int) {
        edit->PaintTo(target.Canvas().Handle(), 0, 0);
        GdiFlush();
    });
    const double move = MsPer(repeats, [&](int i) {
        edit->CommandProcessor(i % 78 < 39 ? ecDown : ecUp, 0, nullptr);
        UpdateWindow(edit->Handle());
        GdiFlush();
    });
    TBitmap source(width, height);
    const double blit = MsPer(repeats * 20, [&](int) {
        BitBlt(target.Canvas().Handle(), 0, 0, width, height, source.Canvas().Handle(), 0, 0, SRCCOPY);
        GdiFlush();
    });
    std::printf("full paint %.3f ms (%.0f BitBlts), caret move and repaint %.3f ms (%.0f BitBlts), BitBlt %.4f ms\n",
                full, full / blit, move, move / blit, blit);
    delete form;
    return 0;
}
