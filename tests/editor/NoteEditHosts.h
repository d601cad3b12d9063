#pragma once
// Hosts for an editor core without a window, shared by the editor's tests and benchmarks.

#include <string>

#include "editor/core/NoteEditCore.h"

// A focused window that paints, scrolls and shows its caret nowhere.
struct TNullNoteHost : INoteEditHost {
    bool HostHasWindow() const override { return true; }
    bool HostFocused() const override { return true; }
    void HostInvalidate(const TRect&) override {}
    void HostScroll(int, int, const TRect&) override {}
    void HostUpdateScrollBars() override {}
    void HostUpdateCaret() override {}
    void HostRecreateCaret() override {}
};

// The clipboard kept in the host: Full once something was copied (or a test put it there);
// WithMode tells whether a paste finds the selection mode beside the text.
struct TClipboardNoteHost : TNullNoteHost {
    std::string Text;
    TNoteSelectionMode Mode = smNormal;
    bool Full = false, WithMode = true;
    void HostCopyToClipboard(const std::string& text, TNoteSelectionMode mode) override {
        Text = text;
        Mode = mode;
        Full = true;
    }
    bool HostPasteFromClipboard(std::string& text, TNoteSelectionMode& mode, bool& withMode) override {
        text = Text;
        mode = Mode;
        withMode = WithMode;
        return Full;
    }
};
