#pragma once
// Editor commands and key bindings: the ec* command numbers with their names (both ways,
// for streaming key tables), shortcuts (a virtual key with Shift/Ctrl/Alt bits), the key
// stroke collection that maps one or two shortcuts to a command, and its default table.
// Numbers from ecUserFirst up are the owner's own commands.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/SysUtils.h"

using TNoteEditorCommand = std::uint16_t;

constexpr TNoteEditorCommand ecNone = 0;
constexpr TNoteEditorCommand ecLeft = 1;
constexpr TNoteEditorCommand ecRight = 2;
constexpr TNoteEditorCommand ecUp = 3;
constexpr TNoteEditorCommand ecDown = 4;
constexpr TNoteEditorCommand ecWordLeft = 5;
constexpr TNoteEditorCommand ecWordRight = 6;
constexpr TNoteEditorCommand ecLineStart = 7;
constexpr TNoteEditorCommand ecLineEnd = 8;
constexpr TNoteEditorCommand ecPageUp = 9;
constexpr TNoteEditorCommand ecPageDown = 10;
constexpr TNoteEditorCommand ecPageLeft = 11;
constexpr TNoteEditorCommand ecPageRight = 12;
constexpr TNoteEditorCommand ecPageTop = 13;
constexpr TNoteEditorCommand ecPageBottom = 14;
constexpr TNoteEditorCommand ecEditorTop = 15;
constexpr TNoteEditorCommand ecEditorBottom = 16;
constexpr TNoteEditorCommand ecGotoXY = 17;
constexpr TNoteEditorCommand ecSelLeft = 101;
constexpr TNoteEditorCommand ecSelRight = 102;
constexpr TNoteEditorCommand ecSelUp = 103;
constexpr TNoteEditorCommand ecSelDown = 104;
constexpr TNoteEditorCommand ecSelWordLeft = 105;
constexpr TNoteEditorCommand ecSelWordRight = 106;
constexpr TNoteEditorCommand ecSelLineStart = 107;
constexpr TNoteEditorCommand ecSelLineEnd = 108;
constexpr TNoteEditorCommand ecSelPageUp = 109;
constexpr TNoteEditorCommand ecSelPageDown = 110;
constexpr TNoteEditorCommand ecSelPageLeft = 111;
constexpr TNoteEditorCommand ecSelPageRight = 112;
constexpr TNoteEditorCommand ecSelPageTop = 113;
constexpr TNoteEditorCommand ecSelPageBottom = 114;
constexpr TNoteEditorCommand ecSelEditorTop = 115;
constexpr TNoteEditorCommand ecSelEditorBottom = 116;
constexpr TNoteEditorCommand ecSelGotoXY = 117;
constexpr TNoteEditorCommand ecSelectAll = 199;
constexpr TNoteEditorCommand ecDeleteLastChar = 501;
constexpr TNoteEditorCommand ecDeleteChar = 502;
constexpr TNoteEditorCommand ecDeleteWord = 503;
constexpr TNoteEditorCommand ecDeleteLastWord = 504;
constexpr TNoteEditorCommand ecDeleteBOL = 505;
constexpr TNoteEditorCommand ecDeleteEOL = 506;
constexpr TNoteEditorCommand ecDeleteLine = 507;
constexpr TNoteEditorCommand ecClearAll = 508;
constexpr TNoteEditorCommand ecLineBreak = 509;
constexpr TNoteEditorCommand ecInsertLine = 510;
constexpr TNoteEditorCommand ecChar = 511;
constexpr TNoteEditorCommand ecImeStr = 550;
constexpr TNoteEditorCommand ecUndo = 601;
constexpr TNoteEditorCommand ecRedo = 602;
constexpr TNoteEditorCommand ecCut = 603;
constexpr TNoteEditorCommand ecCopy = 201;
constexpr TNoteEditorCommand ecPaste = 604;
constexpr TNoteEditorCommand ecScrollUp = 211;
constexpr TNoteEditorCommand ecScrollDown = 212;
constexpr TNoteEditorCommand ecScrollLeft = 213;
constexpr TNoteEditorCommand ecScrollRight = 214;
constexpr TNoteEditorCommand ecInsertMode = 221;
constexpr TNoteEditorCommand ecOverwriteMode = 222;
constexpr TNoteEditorCommand ecToggleMode = 223;
constexpr TNoteEditorCommand ecBlockIndent = 610;
constexpr TNoteEditorCommand ecBlockUnindent = 611;
constexpr TNoteEditorCommand ecTab = 612;
constexpr TNoteEditorCommand ecShiftTab = 613;
constexpr TNoteEditorCommand ecMatchBracket = 250;
constexpr TNoteEditorCommand ecCommentBlock = 251;
constexpr TNoteEditorCommand ecNormalSelect = 231;
constexpr TNoteEditorCommand ecColumnSelect = 232;
constexpr TNoteEditorCommand ecLineSelect = 233;
constexpr TNoteEditorCommand ecAutoCompletion = 650;
constexpr TNoteEditorCommand ecUserFirst = 1001;
constexpr TNoteEditorCommand ecContextHelp = 490;
constexpr TNoteEditorCommand ecGotoMarker0 = 301;
constexpr TNoteEditorCommand ecGotoMarker1 = 302;
constexpr TNoteEditorCommand ecGotoMarker2 = 303;
constexpr TNoteEditorCommand ecGotoMarker3 = 304;
constexpr TNoteEditorCommand ecGotoMarker4 = 305;
constexpr TNoteEditorCommand ecGotoMarker5 = 306;
constexpr TNoteEditorCommand ecGotoMarker6 = 307;
constexpr TNoteEditorCommand ecGotoMarker7 = 308;
constexpr TNoteEditorCommand ecGotoMarker8 = 309;
constexpr TNoteEditorCommand ecGotoMarker9 = 310;
constexpr TNoteEditorCommand ecSetMarker0 = 351;
constexpr TNoteEditorCommand ecSetMarker1 = 352;
constexpr TNoteEditorCommand ecSetMarker2 = 353;
constexpr TNoteEditorCommand ecSetMarker3 = 354;
constexpr TNoteEditorCommand ecSetMarker4 = 355;
constexpr TNoteEditorCommand ecSetMarker5 = 356;
constexpr TNoteEditorCommand ecSetMarker6 = 357;
constexpr TNoteEditorCommand ecSetMarker7 = 358;
constexpr TNoteEditorCommand ecSetMarker8 = 359;
constexpr TNoteEditorCommand ecSetMarker9 = 360;
constexpr TNoteEditorCommand ecUpperCase = 620;
constexpr TNoteEditorCommand ecLowerCase = 621;
constexpr TNoteEditorCommand ecToggleCase = 622;
constexpr TNoteEditorCommand ecTitleCase = 623;
constexpr TNoteEditorCommand ecUpperCaseBlock = 625;
constexpr TNoteEditorCommand ecLowerCaseBlock = 626;
constexpr TNoteEditorCommand ecToggleCaseBlock = 627;
constexpr TNoteEditorCommand ecString = 630;
bool EditorCommandToIdent(int command, std::string& ident);
bool IdentToEditorCommand(std::string_view ident, int& command);
// The command's name, or its decimal text when it has none.
std::string EditorCommandToCodeString(TNoteEditorCommand command);
// A name or a decimal number; anything else raises EConvertError.
TNoteEditorCommand CodeStringToEditorCommand(std::string_view text);

// Shift state of key bindings and mouse events (one bit each, in this order).
using TNoteShiftState = std::uint8_t;
namespace NoteShift {
constexpr TNoteShiftState Shift = 1, Alt = 2, Ctrl = 4, Left = 8, Right = 16, Middle = 32, Double = 64;
}

// A shortcut: virtual key in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; 0 = none.
using TNoteShortCut = std::uint16_t;
TNoteShortCut NoteShortCut(std::uint16_t key, TNoteShiftState shift);
void NoteShortCutToKey(TNoteShortCut shortCut, std::uint16_t& key, TNoteShiftState& shift);
std::string NoteShortCutToText(TNoteShortCut shortCut);  // "Shift+Ctrl+Z", "" for 0

class ENoteKeyError : public Exception {
public:
    using Exception::Exception;
};

class TNoteEditKeyStrokes;

class TNoteEditKeyStroke {
public:
    explicit TNoteEditKeyStroke(TNoteEditKeyStrokes& collection) : FCollection(collection) {}

    std::uint16_t Key() const { return FKey; }
    TNoteShiftState Shift() const { return FShift; }
    std::uint16_t Key2() const { return FKey2; }
    TNoteShiftState Shift2() const { return FShift2; }
    TNoteEditorCommand Command() const { return FCommand; }
    TNoteShortCut ShortCut() const { return NoteShortCut(FKey, FShift); }
    TNoteShortCut ShortCut2() const { return NoteShortCut(FKey2, FShift2); }

    // Raise ENoteKeyError "Shortcut already exists" when another item holds the same pair.
    void SetShortCut(TNoteShortCut value);
    void SetShortCut2(TNoteShortCut value);
    void SetCommand(TNoteEditorCommand value) { FCommand = value; }
    void Assign(const TNoteEditKeyStroke& source);
    int Index() const;
    std::string DisplayName() const;  // "ecCopy - Ctrl+C"

private:
    friend class TNoteEditKeyStrokes;
    TNoteEditKeyStrokes& FCollection;
    std::uint16_t FKey = 0, FKey2 = 0;
    TNoteShiftState FShift = 0, FShift2 = 0;
    TNoteEditorCommand FCommand = ecNone;
};

class TNoteEditKeyStrokes {
public:
    explicit TNoteEditKeyStrokes(void* owner = nullptr) : FOwner(owner) {}
    TNoteEditKeyStrokes(const TNoteEditKeyStrokes&) = delete;
    TNoteEditKeyStrokes& operator=(const TNoteEditKeyStrokes&) = delete;

    void* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TNoteEditKeyStroke& Items(int index) { return *FItems.at(index); }
    const TNoteEditKeyStroke& Items(int index) const { return *FItems.at(index); }
    int IndexOf(const TNoteEditKeyStroke* item) const;

    TNoteEditKeyStroke& Add();
    TNoteEditKeyStroke& AddKey(TNoteEditorCommand command, std::uint16_t key, TNoteShiftState shift);
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    void Clear() { FItems.clear(); }
    int FindKey(std::uint16_t key, TNoteShiftState shift) const;
    int FindKeyPair(std::uint16_t key, TNoteShiftState shift, std::uint16_t key2, TNoteShiftState shift2) const;
    int FindShortCutPair(TNoteShortCut shortCut, TNoteShortCut shortCut2) const;
    void Assign(const TNoteEditKeyStrokes& source);
    void ResetDefaults();

private:
    void* FOwner;
    std::vector<std::unique_ptr<TNoteEditKeyStroke>> FItems;
};
