// The gutter: its part of the paint plan (fill, line numbers, mark glyphs, the active-line
// and wrapped-row indicators, the rows for OnGutterPaint) and clicks on it.
#include <algorithm>

#include "editor/core/NoteEditCore.h"

namespace {
// The visible marks of a line in drawing order: bookmarks first when asked.
std::vector<TNoteEditMark*> GlyphOrder(const TNoteEditMarkList& marks, int line, bool bookmarksFirst) {
    std::vector<TNoteEditMark*> result;
    for (TNoteEditMark* m : marks.MarksOfLine(line))
        if (m->Visible()) result.push_back(m);
    if (bookmarksFirst)
        std::stable_partition(result.begin(), result.end(), [](TNoteEditMark* m) { return m->IsBookmark(); });
    return result;
}
}  // namespace

void TNoteEditCore::PlanGutter(TNotePaintPlan& plan, const TRect& clip) const {
    plan.Gutter = true;
    plan.GutterRect = Rect(clip.Left, clip.Top, FGutterWidth, clip.Bottom);
    plan.GutterColor = FGutter.Color();
    plan.GutterBorder = FGutter.BorderStyle();
    const int rows = DisplayLineCount();
    const int caretRow = DisplayXY().Row;
    for (int row = plan.FirstRow; row <= plan.LastRow && row <= rows; ++row) {
        const TBufferCoord start = FWrapPlugin ? FWrapPlugin->RowToBuffer({1, row}) : TBufferCoord{1, row};
        if (start.Line < 1 || start.Line > FLines->Count()) break;
        const int top = (row - FTopLine) * FLineHeight;
        const bool continuation = start.Char != 1;
        if (!continuation) {
            if (FGutter.ShowLineNumbers()) {
                std::string text = FGutter.LineNumberText(start.Line);
                if (OnGutterGetText) OnGutterGetText(const_cast<TNoteEditCore*>(this), start.Line, text);
                plan.GutterNumbers.push_back({Rect(0, top, FGutterWidth - FGutter.RightOffset() - 2, top + FLineHeight), text});
            }
            if (FBookMarkOptions.GlyphsVisible()) {
                int x = FBookMarkOptions.LeftMargin();
                for (TNoteEditMark* m : GlyphOrder(FMarks, start.Line, FBookMarkOptions.DrawBookmarksFirst())) {
                    plan.GutterGlyphs.push_back({ggMark, x, top, m->ImageIndex(), m->InternalImage()});
                    x += FBookMarkOptions.Xoffset();
                }
            }
        } else if (FWordWrap.Indicator().Visible()) {
            plan.GutterGlyphs.push_back({ggWrapped, FGutterWidth - 2, top, 0, true});
        }
        if (row == caretRow && FActiveLine.Indicator().Visible())
            plan.GutterGlyphs.push_back({ggActiveLine, FGutterWidth - 2, top, 0, true});
        plan.GutterRows.push_back({start.Line, 0, top});
    }
}

TNoteEditMark* TNoteEditCore::GutterMarkAt(int line, int x) const {
    int left = FBookMarkOptions.LeftMargin();
    for (TNoteEditMark* m : GlyphOrder(FMarks, line, FBookMarkOptions.DrawBookmarksFirst())) {
        if (x >= left && x < left + FBookMarkOptions.Xoffset()) return m;
        left += FBookMarkOptions.Xoffset();
    }
    return nullptr;
}

void TNoteEditCore::DoGutterClick(int button, int x, int y) {
    const int row = std::max(FTopLine + y / std::max(FLineHeight, 1), 1);
    if (row > DisplayLineCount()) return;
    const int line = FWrapPlugin ? FWrapPlugin->RowToBuffer({1, row}).Line : row;
    if (line < 1 || line > FLines->Count()) return;
    if (OnGutterClick) OnGutterClick(this, button, x, y, line, GutterMarkAt(line, x));
}
