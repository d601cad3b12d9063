// The command dispatcher and executor of the editor core, with key and character input.
#include <algorithm>
#include <optional>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditCoreInternal.h"

using namespace NoteEditDetail;

//--- Commands and input

TNoteEditorCommand TNoteEditCore::TranslateKey(std::uint16_t key, TNoteShiftState shift) {
    int i = -1;
    if (FPendingKey != 0) i = FKeystrokes.FindKeyPair(FPendingKey, FPendingShift, key, shift);
    if (i < 0) i = FKeystrokes.FindKey(key, shift);
    if (i >= 0 || key < 30 || key > 145) {
        FPendingKey = 0;
    } else {
        FPendingKey = key;
        FPendingShift = shift;
    }
    return i >= 0 ? FKeystrokes.Items(i).Command() : ecNone;
}

void TNoteEditCore::CommandProcessor(TNoteEditorCommand command, char aChar, void* data) {
    if (command > 1000) {
        if (OnProcessUserCommand) OnProcessUserCommand(this, command, aChar, data);
    } else if (OnProcessCommand) {
        OnProcessCommand(this, command, aChar, data);
    }
    if (command != ecNone && !FHooks.empty()) {
        bool handled = false;
        const std::vector<THook> hooks = FHooks;  // a hook may remove itself
        for (const THook& h : hooks) h.Handler(this, false, handled, command, aChar, data, h.Data);
        if (handled) command = ecNone;
    }
    if (command != ecNone && command <= 1000) {
        // Editing commands change what is shown: OnPaintTransient around them.
        // The pair stays whole when the command raises.
        std::optional<TNoteTransient> transient;
        if (command >= ecDeleteLastChar && command != ecCopy) transient.emplace(*this);
        RunEditorCommand(command, aChar, data);
    }
    if (command != ecNone && !FHooks.empty()) {
        bool handled = false;
        const std::vector<THook> hooks = FHooks;
        for (const THook& h : hooks) h.Handler(this, true, handled, command, aChar, data, h.Data);
    }
    if (OnCommandProcessed) OnCommandProcessed(this, command, aChar, data);
}

int TNoteEditCore::AddCommandHook(TNoteHookedCommandEvent handler, void* handlerData) {
    FHooks.push_back({FNextHookId, std::move(handler), handlerData});
    return FNextHookId++;
}

void TNoteEditCore::RemoveCommandHook(int id) {
    std::erase_if(FHooks, [id](const THook& h) { return h.Id == id; });
}

bool TNoteEditCore::ProcessKeyDown(std::uint16_t key, TNoteShiftState shift) {
    FKbdHandler.ExecuteKeyDown(this, key, shift);
    if (key == 0) return true;
    const TNoteEditorCommand command = TranslateKey(key, shift);
    FLastKeyConsumed = command != ecNone;
    if (command != ecNone) CommandProcessor(command, 0, nullptr);
    return FLastKeyConsumed;
}

void TNoteEditCore::ProcessKeyPress(char key) {
    if (FLastKeyConsumed) {
        FLastKeyConsumed = false;
        return;
    }
    CommandProcessor(ecChar, key, nullptr);
}

void TNoteEditCore::TypeUtf16(std::u16string_view text) {
    if (FLastKeyConsumed) {
        FLastKeyConsumed = false;
        return;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x80) {
            char c = static_cast<char>(text[i]);
            FKbdHandler.ExecuteKeyPress(this, c);
            if (c != 0) CommandProcessor(ecChar, c, nullptr);
            continue;
        }
        size_t n = 1;
        while (i + n < text.size() && text[i + n] >= 0x80) ++n;
        const std::string gbk = NoteUtf16ToGbk(text.substr(i, n));
        i += n - 1;
        if (!gbk.empty()) CommandProcessor(ecImeStr, 0, const_cast<char*>(gbk.c_str()));
    }
}

void TNoteEditCore::RunEditorCommand(TNoteEditorCommand command, char aChar, void* data) {
    TUpdate update(*this);
    const bool selecting = command >= ecSelLeft && command <= ecSelGotoXY;
    const TNoteEditorCommand base = selecting ? command - 100 : command;
    switch (base) {
    case ecLeft: case ecRight: MoveCaretHorz(base == ecLeft ? -1 : 1, selecting); return;
    case ecUp: case ecDown: MoveCaretVert(base == ecUp ? -1 : 1, selecting); return;
    case ecPageLeft: case ecPageRight:
        MoveCaretHorz(base == ecPageLeft ? -FCharsInWindow : FCharsInWindow, selecting);
        return;
    case ecWordLeft: MoveCaretAndSelection(CaretXY(), PrevWordPos(CaretXY()), selecting); return;
    case ecWordRight: MoveCaretAndSelection(CaretXY(), NextWordPos(CaretXY()), selecting); return;
    case ecLineStart: {
        TBufferCoord to{1, FCaretY};
        if (FWrapPlugin) to = DisplayToBufferPos({1, DisplayXY().Row});
        if (HasOption(eoEnhanceHomeKey) && BufferToDisplayPos({1, FCaretY}).Row == DisplayXY().Row) {
            const std::string& line = FLines->Get(FCaretY - 1);
            int first = 1;
            while (first <= static_cast<int>(line.size()) && IsBlank(line[first - 1])) ++first;
            if (FCaretX > first || FCaretX == 1) to.Char = first;
        }
        MoveCaretAndSelection(CaretXY(), to, selecting);
        return;
    }
    case ecLineEnd: {
        TBufferCoord to{static_cast<int>(FLines->Get(FCaretY - 1).size()) + 1, FCaretY};
        if (FWrapPlugin) {
            const int row = DisplayXY().Row;
            if (row <= FWrapPlugin->RowCount()) {
                const int column = std::min(FWrapPlugin->RowLength(row), WrapWidth()) + 1;
                to = DisplayToBufferPos({column, row});
                MoveCaretAndSelection(CaretXY(), to, selecting);
                if (BufferToDisplayPos(to).Row != row) FCaretAtEndOfRow = true;
                UpdateCaret();
                return;
            }
        }
        MoveCaretAndSelection(CaretXY(), to, selecting);
        return;
    }
    case ecPageUp: case ecPageDown: {
        int page = FLinesInWindow;
        if (HasOption(eoHalfPageScroll)) page >>= 1;
        if (HasOption(eoScrollByOneLess)) --page;
        if (base == ecPageUp) page = -page;
        SetTopLine(FTopLine + page);
        MoveCaretVert(page, selecting);
        return;
    }
    case ecPageTop: case ecPageBottom: {
        const int row = base == ecPageTop ? FTopLine : FTopLine + FLinesInWindow - 1;
        const TDisplayCoord d{DisplayXY().Column, std::max(1, std::min(row, DisplayLineCount()))};
        MoveCaretAndSelection(CaretXY(), DisplayToBufferPos(d), selecting);
        return;
    }
    case ecEditorTop: MoveCaretAndSelection(CaretXY(), {1, 1}, selecting); return;
    case ecEditorBottom: {
        const int last = std::max(FLines->Count(), 1);
        MoveCaretAndSelection(CaretXY(), {static_cast<int>(FLines->Get(last - 1).size()) + 1, last}, selecting);
        return;
    }
    case ecGotoXY:
        if (data) {
            // Never onto the trail byte of a double-byte character.
            TBufferCoord p = *static_cast<const TBufferCoord*>(data);
            const int line = std::clamp(p.Line, 1, std::max(FLines->Count(), 1));
            if (line <= FLines->Count() && p.Char > 1 && FLines->ByteType(line - 1, p.Char) == mbTrailByte)
                --p.Char;
            MoveCaretAndSelection(CaretXY(), p, selecting);
        }
        return;
    default: break;
    }
    if (command >= ecGotoMarker0 && command <= ecGotoMarker0 + 9) {
        if (FBookMarkOptions.EnableKeys()) GotoBookMark(command - ecGotoMarker0);
        return;
    }
    if (command >= ecSetMarker0 && command <= ecSetMarker0 + 9) {
        if (!FBookMarkOptions.EnableKeys()) return;
        const int n = command - ecSetMarker0;
        const TBufferCoord at = data ? *static_cast<const TBufferCoord*>(data) : CaretXY();
        int column = 0, line = 0;
        if (GetBookMark(n, column, line)) {
            ClearBookMark(n);
            if (line != at.Line) SetBookMark(n, at.Char, at.Line);
        } else {
            SetBookMark(n, at.Char, at.Line);
        }
        return;
    }
    if (command >= ecDeleteLastChar && FReadOnly) return;
    switch (command) {
    case ecSelectAll: SelectAll(); return;
    case ecCopy: CopyToClipboard(); return;
    case ecScrollUp: case ecScrollDown: ScrollByLine(command == ecScrollUp ? -1 : 1); return;
    case ecScrollLeft: case ecScrollRight: SetLeftChar(FLeftChar + (command == ecScrollLeft ? -1 : 1)); return;
    case ecInsertMode: SetInsertMode(true); return;
    case ecOverwriteMode: SetInsertMode(false); return;
    case ecToggleMode: SetInsertMode(!FInsertMode); return;
    case ecNormalSelect: SetSelectionMode(smNormal); return;
    case ecColumnSelect: SetSelectionMode(smColumn); return;
    case ecLineSelect: SetSelectionMode(smLine); return;
    case ecMatchBracket: {
        const TBufferCoord p = MatchingBracket(CaretXY());
        if (p.Line > 0) {
            SetCaretXY(p);
            SetBlockBegin(p);
        }
        return;
    }
    case ecContextHelp:
        if (OnContextHelp) OnContextHelp(this, TextBetween(WordStartAt(CaretXY()), WordEndAt(CaretXY())));
        return;
    case ecDeleteLastChar: DeleteLastChar(); return;
    case ecDeleteChar: DeleteChar(); return;
    case ecDeleteWord: case ecDeleteEOL: {
        const std::string& line = FLines->Get(FCaretY - 1);
        const int len = static_cast<int>(line.size());
        TBufferCoord to{len + 1, FCaretY};
        if (command == ecDeleteWord) {
            if (FCaretX > len) {
                if (FCaretY >= FLines->Count()) return;
                const std::string& next = FLines->Get(FCaretY);
                int c = 1;
                while (c <= static_cast<int>(next.size()) && IsBlank(next[c - 1])) ++c;
                to = {c, FCaretY + 1};
            } else {
                to = WordEndAt(CaretXY());
                while (to.Char <= len && IsBlank(line[to.Char - 1])) ++to.Char;
                if (to.Char == FCaretX && to.Char <= len) to.Char += GbkCharLength(line, to.Char - 1);
            }
        }
        if (FCaretX > len && command == ecDeleteEOL) return;
        DeleteRangeRecorded(NoteChange::DeleteAfter, CaretXY(), to, CaretXY());
        return;
    }
    case ecDeleteLastWord: case ecDeleteBOL: {
        const TBufferCoord from = command == ecDeleteBOL ? TBufferCoord{1, FCaretY} : PrevWordPos(CaretXY());
        const TBufferCoord to{std::min(FCaretX, static_cast<int>(LineText().size()) + 1), FCaretY};
        if (EarlierPos(from, to) == to) return;
        DeleteRangeRecorded(NoteChange::DeleteBefore, from, to, from);
        return;
    }
    case ecDeleteLine: {
        const int count = FLines->Count();
        if (count == 0 || (FCaretY == count && LineText().empty())) return;
        if (SelAvail()) SetBlockBegin(CaretXY());
        const TBufferCoord from{1, FCaretY};
        const TBufferCoord to =
            FCaretY == count ? TBufferCoord{static_cast<int>(LineText().size()) + 1, FCaretY} : TBufferCoord{1, FCaretY + 1};
        DeleteRangeRecorded(NoteChange::DeleteAfter, from, to, from);
        return;
    }
    case ecClearAll: ClearAll(); return;
    case ecLineBreak: case ecInsertLine: LineBreak(command == ecLineBreak); return;
    case ecChar: TypeChar(aChar); return;
    case ecImeStr:
        if (data) InsertText(static_cast<const char*>(data));
        return;
    case ecUndo: Undo(); return;
    case ecRedo: Redo(); return;
    case ecCut: CutToClipboard(); return;
    case ecPaste: PasteFromClipboard(); return;
    case ecBlockIndent: case ecBlockUnindent: BlockIndent(command == ecBlockIndent); return;
    case ecTab: InsertTab(); return;
    case ecShiftTab: ShiftTab(); return;
    case ecUpperCase: case ecLowerCase: case ecToggleCase: case ecTitleCase: case ecUpperCaseBlock:
    case ecLowerCaseBlock: case ecToggleCaseBlock:
        ChangeCase(command);
        return;
    default: return;
    }
}
