#include "editor/core/NoteEditKeyCmds.h"

#include <charconv>

namespace {
struct TCommandName {
    const char* Name;
    TNoteEditorCommand Value;
};

const TCommandName CommandNames[] = {
    {"ecNone", ecNone},
    {"ecLeft", ecLeft},
    {"ecRight", ecRight},
    {"ecUp", ecUp},
    {"ecDown", ecDown},
    {"ecWordLeft", ecWordLeft},
    {"ecWordRight", ecWordRight},
    {"ecLineStart", ecLineStart},
    {"ecLineEnd", ecLineEnd},
    {"ecPageUp", ecPageUp},
    {"ecPageDown", ecPageDown},
    {"ecPageLeft", ecPageLeft},
    {"ecPageRight", ecPageRight},
    {"ecPageTop", ecPageTop},
    {"ecPageBottom", ecPageBottom},
    {"ecEditorTop", ecEditorTop},
    {"ecEditorBottom", ecEditorBottom},
    {"ecGotoXY", ecGotoXY},
    {"ecSelLeft", ecSelLeft},
    {"ecSelRight", ecSelRight},
    {"ecSelUp", ecSelUp},
    {"ecSelDown", ecSelDown},
    {"ecSelWordLeft", ecSelWordLeft},
    {"ecSelWordRight", ecSelWordRight},
    {"ecSelLineStart", ecSelLineStart},
    {"ecSelLineEnd", ecSelLineEnd},
    {"ecSelPageUp", ecSelPageUp},
    {"ecSelPageDown", ecSelPageDown},
    {"ecSelPageLeft", ecSelPageLeft},
    {"ecSelPageRight", ecSelPageRight},
    {"ecSelPageTop", ecSelPageTop},
    {"ecSelPageBottom", ecSelPageBottom},
    {"ecSelEditorTop", ecSelEditorTop},
    {"ecSelEditorBottom", ecSelEditorBottom},
    {"ecSelGotoXY", ecSelGotoXY},
    {"ecSelectAll", ecSelectAll},
    {"ecDeleteLastChar", ecDeleteLastChar},
    {"ecDeleteChar", ecDeleteChar},
    {"ecDeleteWord", ecDeleteWord},
    {"ecDeleteLastWord", ecDeleteLastWord},
    {"ecDeleteBOL", ecDeleteBOL},
    {"ecDeleteEOL", ecDeleteEOL},
    {"ecDeleteLine", ecDeleteLine},
    {"ecClearAll", ecClearAll},
    {"ecLineBreak", ecLineBreak},
    {"ecInsertLine", ecInsertLine},
    {"ecChar", ecChar},
    {"ecImeStr", ecImeStr},
    {"ecUndo", ecUndo},
    {"ecRedo", ecRedo},
    {"ecCut", ecCut},
    {"ecCopy", ecCopy},
    {"ecPaste", ecPaste},
    {"ecScrollUp", ecScrollUp},
    {"ecScrollDown", ecScrollDown},
    {"ecScrollLeft", ecScrollLeft},
    {"ecScrollRight", ecScrollRight},
    {"ecInsertMode", ecInsertMode},
    {"ecOverwriteMode", ecOverwriteMode},
    {"ecToggleMode", ecToggleMode},
    {"ecBlockIndent", ecBlockIndent},
    {"ecBlockUnindent", ecBlockUnindent},
    {"ecTab", ecTab},
    {"ecShiftTab", ecShiftTab},
    {"ecMatchBracket", ecMatchBracket},
    {"ecCommentBlock", ecCommentBlock},
    {"ecNormalSelect", ecNormalSelect},
    {"ecColumnSelect", ecColumnSelect},
    {"ecLineSelect", ecLineSelect},
    {"ecAutoCompletion", ecAutoCompletion},
    {"ecUserFirst", ecUserFirst},
    {"ecContextHelp", ecContextHelp},
    {"ecGotoMarker0", ecGotoMarker0},
    {"ecGotoMarker1", ecGotoMarker1},
    {"ecGotoMarker2", ecGotoMarker2},
    {"ecGotoMarker3", ecGotoMarker3},
    {"ecGotoMarker4", ecGotoMarker4},
    {"ecGotoMarker5", ecGotoMarker5},
    {"ecGotoMarker6", ecGotoMarker6},
    {"ecGotoMarker7", ecGotoMarker7},
    {"ecGotoMarker8", ecGotoMarker8},
    {"ecGotoMarker9", ecGotoMarker9},
    {"ecSetMarker0", ecSetMarker0},
    {"ecSetMarker1", ecSetMarker1},
    {"ecSetMarker2", ecSetMarker2},
    {"ecSetMarker3", ecSetMarker3},
    {"ecSetMarker4", ecSetMarker4},
    {"ecSetMarker5", ecSetMarker5},
    {"ecSetMarker6", ecSetMarker6},
    {"ecSetMarker7", ecSetMarker7},
    {"ecSetMarker8", ecSetMarker8},
    {"ecSetMarker9", ecSetMarker9},
    {"ecUpperCase", ecUpperCase},
    {"ecLowerCase", ecLowerCase},
    {"ecToggleCase", ecToggleCase},
    {"ecTitleCase", ecTitleCase},
    {"ecUpperCaseBlock", ecUpperCaseBlock},
    {"ecLowerCaseBlock", ecLowerCaseBlock},
    {"ecToggleCaseBlock", ecToggleCaseBlock},
    {"ecString", ecString},};

// Virtual-key codes of the default table.
constexpr std::uint16_t VkBack = 0x08, VkTab = 0x09, VkReturn = 0x0D, VkEscape = 0x1B, VkSpace = 0x20, VkPrior = 0x21,
                        VkNext = 0x22, VkEnd = 0x23, VkHome = 0x24, VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27,
                        VkDown = 0x28, VkInsert = 0x2D, VkDelete = 0x2E, VkF1 = 0x70;
constexpr TNoteShortCut ScShift = 0x2000, ScCtrl = 0x4000, ScAlt = 0x8000;

bool SameIdent(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string KeyName(std::uint16_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VkF1 && key < VkF1 + 12) {
        std::string name = "F";
        name += std::to_string(key - VkF1 + 1);
        return name;
    }
    switch (key) {
    case VkBack: return "BkSp";
    case VkTab: return "Tab";
    case VkReturn: return "Enter";
    case VkEscape: return "Esc";
    case VkSpace: return "Space";
    case VkPrior: return "PgUp";
    case VkNext: return "PgDn";
    case VkEnd: return "End";
    case VkHome: return "Home";
    case VkLeft: return "Left";
    case VkUp: return "Up";
    case VkRight: return "Right";
    case VkDown: return "Down";
    case VkInsert: return "Ins";
    case VkDelete: return "Del";
    default: return {};
    }
}
}  // namespace

bool EditorCommandToIdent(int command, std::string& ident) {
    for (const auto& entry : CommandNames)
        if (entry.Value == command) {
            ident = entry.Name;
            return true;
        }
    return false;
}

bool IdentToEditorCommand(std::string_view ident, int& command) {
    for (const auto& entry : CommandNames)
        if (SameIdent(ident, entry.Name)) {
            command = entry.Value;
            return true;
        }
    return false;
}

std::string EditorCommandToCodeString(TNoteEditorCommand command) {
    std::string ident;
    return EditorCommandToIdent(command, ident) ? ident : std::to_string(command);
}

TNoteEditorCommand CodeStringToEditorCommand(std::string_view text) {
    int command;
    if (IdentToEditorCommand(text, command)) return static_cast<TNoteEditorCommand>(command);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 0xFFFF)
        throw EConvertError("'" + std::string(text) + "' is not an editor command");
    return static_cast<TNoteEditorCommand>(value);
}

TNoteShortCut NoteShortCut(std::uint16_t key, TNoteShiftState shift) {
    if (key == 0) return 0;
    TNoteShortCut result = key & 0xFF;
    if (shift & NoteShift::Shift) result |= ScShift;
    if (shift & NoteShift::Ctrl) result |= ScCtrl;
    if (shift & NoteShift::Alt) result |= ScAlt;
    return result;
}

void NoteShortCutToKey(TNoteShortCut shortCut, std::uint16_t& key, TNoteShiftState& shift) {
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & ScShift) shift |= NoteShift::Shift;
    if (shortCut & ScCtrl) shift |= NoteShift::Ctrl;
    if (shortCut & ScAlt) shift |= NoteShift::Alt;
}

std::string NoteShortCutToText(TNoteShortCut shortCut) {
    const std::string name = KeyName(shortCut & 0xFF);
    if (name.empty()) return {};
    std::string text;
    if (shortCut & ScShift) text += "Shift+";
    if (shortCut & ScCtrl) text += "Ctrl+";
    if (shortCut & ScAlt) text += "Alt+";
    text += name;
    return text;
}

void TNoteEditKeyStroke::SetShortCut(TNoteShortCut value) {
    if (value != 0) {
        const int found = FCollection.FindShortCutPair(value, ShortCut2());
        if (found >= 0 && found != Index()) throw ENoteKeyError("Shortcut already exists");
    }
    NoteShortCutToKey(value, FKey, FShift);
}

void TNoteEditKeyStroke::SetShortCut2(TNoteShortCut value) {
    if (value != 0) {
        const int found = FCollection.FindShortCutPair(ShortCut(), value);
        if (found >= 0 && found != Index()) throw ENoteKeyError("Shortcut already exists");
    }
    NoteShortCutToKey(value, FKey2, FShift2);
}

void TNoteEditKeyStroke::Assign(const TNoteEditKeyStroke& source) {
    FCommand = source.FCommand;
    FKey = source.FKey;
    FShift = source.FShift;
    FKey2 = source.FKey2;
    FShift2 = source.FShift2;
}

int TNoteEditKeyStroke::Index() const { return FCollection.IndexOf(this); }

std::string TNoteEditKeyStroke::DisplayName() const {
    std::string text = EditorCommandToCodeString(FCommand);
    text += " - ";
    text += NoteShortCutToText(ShortCut());
    if (ShortCut() != 0 && ShortCut2() != 0) {
        text += ' ';
        text += NoteShortCutToText(ShortCut2());
    }
    return text;
}

int TNoteEditKeyStrokes::IndexOf(const TNoteEditKeyStroke* item) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[i].get() == item) return i;
    return -1;
}

TNoteEditKeyStroke& TNoteEditKeyStrokes::Add() {
    FItems.push_back(std::make_unique<TNoteEditKeyStroke>(*this));
    return *FItems.back();
}

TNoteEditKeyStroke& TNoteEditKeyStrokes::AddKey(TNoteEditorCommand command, std::uint16_t key, TNoteShiftState shift) {
    TNoteEditKeyStroke& item = Add();
    item.FKey = key;
    item.FShift = shift;
    item.FCommand = command;
    return item;
}

int TNoteEditKeyStrokes::FindKey(std::uint16_t key, TNoteShiftState shift) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[i]->FKey == key && FItems[i]->FShift == shift && FItems[i]->FKey2 == 0) return i;
    return -1;
}

int TNoteEditKeyStrokes::FindKeyPair(std::uint16_t key, TNoteShiftState shift, std::uint16_t key2,
                                     TNoteShiftState shift2) const {
    for (int i = 0; i < Count(); ++i) {
        const auto& item = *FItems[i];
        if (item.FKey == key && item.FShift == shift && item.FKey2 == key2 && item.FShift2 == shift2) return i;
    }
    return -1;
}

int TNoteEditKeyStrokes::FindShortCutPair(TNoteShortCut shortCut, TNoteShortCut shortCut2) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[i]->ShortCut() == shortCut && FItems[i]->ShortCut2() == shortCut2) return i;
    return -1;
}

void TNoteEditKeyStrokes::Assign(const TNoteEditKeyStrokes& source) {
    if (&source == this) return;
    Clear();
    for (const auto& item : source.FItems) Add().Assign(*item);
}

void TNoteEditKeyStrokes::ResetDefaults() {
    using namespace NoteShift;
    Clear();
    struct Row {
        std::uint16_t Key;
        TNoteEditorCommand Plain, WithShift, WithCtrl, WithShiftCtrl;
    };
    const Row movement[] = {
        {VkUp, ecUp, ecSelUp, ecScrollUp, ecNone},
        {VkDown, ecDown, ecSelDown, ecScrollDown, ecNone},
        {VkLeft, ecLeft, ecSelLeft, ecWordLeft, ecSelWordLeft},
        {VkRight, ecRight, ecSelRight, ecWordRight, ecSelWordRight},
        {VkNext, ecPageDown, ecSelPageDown, ecPageBottom, ecSelPageBottom},
        {VkPrior, ecPageUp, ecSelPageUp, ecPageTop, ecSelPageTop},
        {VkHome, ecLineStart, ecSelLineStart, ecEditorTop, ecSelEditorTop},
        {VkEnd, ecLineEnd, ecSelLineEnd, ecEditorBottom, ecSelEditorBottom},
    };
    for (const Row& row : movement) {
        AddKey(row.Plain, row.Key, 0);
        AddKey(row.WithShift, row.Key, Shift);
        AddKey(row.WithCtrl, row.Key, Ctrl);
        if (row.WithShiftCtrl != ecNone) AddKey(row.WithShiftCtrl, row.Key, Shift | Ctrl);
    }
    struct Binding {
        TNoteEditorCommand Command;
        std::uint16_t Key;
        TNoteShiftState Shift;
    };
    const Binding others[] = {
        {ecToggleMode, VkInsert, 0},         {ecCopy, VkInsert, Ctrl},
        {ecCut, VkDelete, Shift},            {ecPaste, VkInsert, Shift},
        {ecDeleteChar, VkDelete, 0},         {ecDeleteLastChar, VkBack, 0},
        {ecDeleteLastChar, VkBack, Shift},   {ecDeleteLastWord, VkBack, Ctrl},
        {ecUndo, VkBack, Alt},               {ecRedo, VkBack, Shift | Alt},
        {ecLineBreak, VkReturn, 0},          {ecLineBreak, VkReturn, Shift},
        {ecTab, VkTab, 0},                   {ecShiftTab, VkTab, Shift},
        {ecContextHelp, VkF1, 0},            {ecSelectAll, 'A', Ctrl},
        {ecCopy, 'C', Ctrl},                 {ecPaste, 'V', Ctrl},
        {ecCut, 'X', Ctrl},                  {ecBlockIndent, 'I', Shift | Ctrl},
        {ecBlockUnindent, 'U', Shift | Ctrl}, {ecLineBreak, 'M', Ctrl},
        {ecInsertLine, 'N', Ctrl},           {ecDeleteWord, 'T', Ctrl},
        {ecDeleteLine, 'Y', Ctrl},           {ecDeleteEOL, 'Y', Shift | Ctrl},
        {ecUndo, 'Z', Ctrl},                 {ecRedo, 'Z', Shift | Ctrl},
    };
    for (const Binding& b : others) AddKey(b.Command, b.Key, b.Shift);
    for (int i = 0; i < 10; ++i) AddKey(ecGotoMarker0 + i, '0' + i, Ctrl);
    for (int i = 0; i < 10; ++i) AddKey(ecSetMarker0 + i, '0' + i, Shift | Ctrl);
    AddKey(ecNormalSelect, 'N', Shift | Ctrl);
    AddKey(ecColumnSelect, 'C', Shift | Ctrl);
    AddKey(ecLineSelect, 'L', Shift | Ctrl);
    AddKey(ecMatchBracket, 'B', Shift | Ctrl);
}
