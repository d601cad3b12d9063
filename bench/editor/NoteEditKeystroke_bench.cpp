// Cost of a keystroke and its repaint in a note-sized editor with the note's look and both
// scroll bars on, under Wine: with 3 lines, with 1 MB in lines and with one 1 MB line (also
// of Chinese alone); and 1 MB pasted in front of a 1 MB note. Set against an empty message
// round trip and a BitBlt of the editor's size in the same run. Run by hand:
//   wine note_edit_keystroke_bench.exe [repeats]
#include <chrono>
#include <cstdio>

#include "bench/editor/EditorBench.h"
#include "editor/win/NoteEdit.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "tests/editor/NoteEditLook.h"

namespace {
// The sticky note's editor: ruled, wrapped at the right edge, scroll bars on.
TNoteEdit* MakeNote(TForm* form, int left) {
    auto* edit = new TNoteEdit(form);
    edit->SetParent(form);
    SetNoteLook(edit);
    edit->SetBounds(left, 0, 320, 240);
    return edit;
}

// About 1 MB of Chinese with an ASCII word now and then (or of Chinese alone), in lines of
// 80 bytes or in one line.
std::string Megabyte(bool oneLine, bool chineseOnly = false) {
    std::string text;
    for (int i = 0; text.size() < (1u << 20); ++i) {
        text += i % 9 == 8 && !chineseOnly ? "word " : "\xB1\xE3\xC7\xA9\xCE\xC4\xD7\xD6";
        if (!oneLine && i % 10 == 9) text += "\r\n";
    }
    return text;
}

// A letter typed and deleted with Backspace, each with its repaint (or without): ms per
// keystroke.
double Keystroke(TNoteEdit* edit, int repeats, bool repaint = true) {
    HWND h = edit->Handle();
    const double ms = MsPer(repeats, [&](int i) {
        if (i % 2 == 0) SendMessageW(h, WM_CHAR, L'a', 1);
        else SendMessageW(h, WM_KEYDOWN, VK_BACK, 0x000E0001);
        if (!repaint) return;
        UpdateWindow(h);
        GdiFlush();
    });
    UpdateWindow(h);
    return ms;
}

void PlaceCaretInMiddle(TNoteEdit* edit, bool oneLine) {
    const int line = (edit->Lines().Count() + 1) / 2;
    TBufferCoord p{oneLine ? (1 << 19) + 1 : 41, line};
    edit->CommandProcessor(ecGotoXY, 0, &p);
    UpdateWindow(edit->Handle());
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repeats = argc > 1 ? _wtoi(argv[1]) : 200;
    Application->Initialize();
    TBenchForm* form = NewForm<TBenchForm>(nullptr);
    form->SetBounds(0, 0, 660, 240);
    TNoteEdit* note = MakeNote(form, 0);
    TNoteEdit* source = MakeNote(form, 330);
    form->Show();
    Application->ProcessMessages();
    HWND h = note->Handle();

    const double roundTrip = MsPer(repeats * 50, [&](int) { SendMessageW(h, WM_NULL, 0, 0); });
    TBitmap target(320, 240), picture(320, 240);
    const double blit = MsPer(repeats * 20, [&](int) {
        BitBlt(target.Canvas().Handle(), 0, 0, 320, 240, picture.Canvas().Handle(), 0, 0, SRCCOPY);
        GdiFlush();
    });
    std::printf("empty message round trip %.4f ms, BitBlt 320x240 %.4f ms\n", roundTrip, blit);

    note->SetTextUtf8("便签的第一行\n第二行 with words\n第三行");
    PlaceCaretInMiddle(note, false);
    const double small = Keystroke(note, repeats);
    std::printf("keystroke and repaint, 3 lines, scroll bars on:  %.3f ms (%.0f BitBlts)\n", small, small / blit);
    note->SetScrollBars(ssNone);
    const double bare = Keystroke(note, repeats);
    note->SetScrollBars(ssBoth);
    std::printf("keystroke and repaint, 3 lines, no scroll bars:  %.3f ms\n", bare);

    for (int kind = 0; kind < 3; ++kind) {
        const bool oneLine = kind > 0;
        note->SetTextBytes(Megabyte(oneLine, kind == 2));
        PlaceCaretInMiddle(note, oneLine);
        const double big = Keystroke(note, repeats);
        const double edit = Keystroke(note, repeats, false);
        static const char* const kinds[] = {"in lines  ", "in one line", "in one line of Chinese alone"};
        std::printf("keystroke and repaint, 1 MB %s, scroll bars on: %.3f ms (%.0f BitBlts; %.3f ms of it the edit)\n",
                    kinds[kind], big, big / blit, edit);
    }

    // 1 MB of lines pasted in front of a 1 MB note through the clipboard, then undone.
    const std::string megabyte = Megabyte(false);
    source->SetTextBytes(megabyte);
    source->SelectAll();
    source->CopyToClipboard();
    const int pastes = std::max(repeats / 40, 3);
    double total = 0;
    for (int i = 0; i < pastes; ++i) {
        note->SetTextBytes(megabyte);
        TBufferCoord start{1, 1};
        note->CommandProcessor(ecGotoXY, 0, &start);
        UpdateWindow(h);
        total += MsPer(1, [&](int) {
            SendMessageW(h, WM_PASTE, 0, 0);
            UpdateWindow(h);
            GdiFlush();
        });
    }
    std::printf("1 MB pasted in front of a 1 MB note: %.1f ms (%d lines after)\n", total / pastes, note->Lines().Count());
    delete form;
    return 0;
}
