#pragma once
// Chains of keyboard and mouse handlers that the editor calls before its own handling.
// Key handlers run from the last added to the first and stop once one sets Key to 0; mouse
// handlers all run, last added first. A call that arrives while the same chain is running
// (a handler raising the same event) returns at once.

#include <cstdint>

#include "editor/core/NoteEditKeyCmds.h"
#include "editor/core/NoteEditTypes.h"
#include "editor/core/NoteMethodList.h"

// Button: 0 left, 1 right, 2 middle. Cursor: the framework's cursor number.
using TNoteKeySig = void(void* Sender, std::uint16_t& Key, TNoteShiftState Shift);
using TNoteKeyPressSig = void(void* Sender, char& Key);
using TNoteMouseSig = void(void* Sender, int Button, TNoteShiftState Shift, int X, int Y);
using TNoteMouseCursorSig = void(void* Sender, const TBufferCoord& LineCharPos, int& Cursor);

class TNoteEditKbdHandler {
public:
    TNoteMethodList<TNoteKeySig> KeyDownHandlers, KeyUpHandlers;
    TNoteMethodList<TNoteKeyPressSig> KeyPressHandlers;
    TNoteMethodList<TNoteMouseSig> MouseDownHandlers, MouseUpHandlers;
    TNoteMethodList<TNoteMouseCursorSig> MouseCursorHandlers;

    void ExecuteKeyDown(void* sender, std::uint16_t& key, TNoteShiftState shift);
    void ExecuteKeyUp(void* sender, std::uint16_t& key, TNoteShiftState shift);
    void ExecuteKeyPress(void* sender, char& key);
    void ExecuteMouseDown(void* sender, int button, TNoteShiftState shift, int x, int y);
    void ExecuteMouseUp(void* sender, int button, TNoteShiftState shift, int x, int y);
    void ExecuteMouseCursor(void* sender, const TBufferCoord& lineCharPos, int& cursor);

private:
    bool FInKeyDown = false, FInKeyUp = false, FInKeyPress = false;
    bool FInMouseDown = false, FInMouseUp = false, FInMouseCursor = false;
};
