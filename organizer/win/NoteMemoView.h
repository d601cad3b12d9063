#pragma once
// The note editor as the note windows and the viewer use it, reached through this unit
// only: the editor's scroll-bar names and those of the standard controls cannot meet in
// one source file, so the forms hold a TNoteMemo* and call these functions.

#include <functional>
#include <string>

#include "framework/win/Controls.h"

class TNoteMemo;

// A note editor with the notebook look: info-tip background, no border or gutter, 新宋体
// 9 pt, yellow and navy active line, red dotted line dividers, a green right edge at
// column 80, one-and-a-half line spacing and word wrap at the right edge.
TNoteMemo* MakeNoteMemo(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
                        int height);
TWinControl* NoteMemoControl(TNoteMemo* memo);
std::string NoteMemoText(const TNoteMemo* memo);   // GBK, lines joined by CR LF
// The editor's change event (typing, pasting, undo; not loading or clearing).
void SetNoteMemoOnChange(TNoteMemo* memo, std::function<void()> handler);
void SetNoteMemoReadOnly(TNoteMemo* memo, bool readOnly);
// File names are UTF-8; both raise EInOutError and leave the editor (or the file) as it was.
void NoteMemoLoadFile(TNoteMemo* memo, const std::string& fileName);
void NoteMemoSaveFile(TNoteMemo* memo, const std::string& fileName);   // through a temporary file
// Empties the text, the marks and both undo lists.
void NoteMemoClearAll(TNoteMemo* memo);
