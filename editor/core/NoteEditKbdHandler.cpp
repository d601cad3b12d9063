#include "editor/core/NoteEditKbdHandler.h"

namespace {
// Sets a chain's running flag for one call and clears it also when a handler raises.
class TRunning {
public:
    explicit TRunning(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TRunning() { FFlag = false; }

private:
    bool& FFlag;
};

template <class List, class Key, class... Rest>
void RunKeyChain(bool& running, const List& list, void* sender, Key& key, Rest... rest) {
    if (running) return;
    TRunning guard(running);
    for (int i = list.Count() - 1; i >= 0 && key != 0; --i)
        if (i < list.Count()) list.Item(i)(sender, key, rest...);
}

template <class List, class... Args>
void RunChain(bool& running, const List& list, Args&&... args) {
    if (running) return;
    TRunning guard(running);
    for (int i = list.Count() - 1; i >= 0; --i)
        if (i < list.Count()) list.Item(i)(args...);
}
}  // namespace

void TNoteEditKbdHandler::ExecuteKeyDown(void* sender, std::uint16_t& key, TNoteShiftState shift) {
    RunKeyChain(FInKeyDown, KeyDownHandlers, sender, key, shift);
}

void TNoteEditKbdHandler::ExecuteKeyUp(void* sender, std::uint16_t& key, TNoteShiftState shift) {
    RunKeyChain(FInKeyUp, KeyUpHandlers, sender, key, shift);
}

void TNoteEditKbdHandler::ExecuteKeyPress(void* sender, char& key) { RunKeyChain(FInKeyPress, KeyPressHandlers, sender, key); }

void TNoteEditKbdHandler::ExecuteMouseDown(void* sender, int button, TNoteShiftState shift, int x, int y) {
    RunChain(FInMouseDown, MouseDownHandlers, sender, button, shift, x, y);
}

void TNoteEditKbdHandler::ExecuteMouseUp(void* sender, int button, TNoteShiftState shift, int x, int y) {
    RunChain(FInMouseUp, MouseUpHandlers, sender, button, shift, x, y);
}

void TNoteEditKbdHandler::ExecuteMouseCursor(void* sender, const TBufferCoord& lineCharPos, int& cursor) {
    RunChain(FInMouseCursor, MouseCursorHandlers, sender, lineCharPos, cursor);
}
